#include "app/patterns/form_services.h"

#include "app/data/file_access.h"
#include "app/data/integrity.h"
#include "app/data/warnings.h"
#include "app/procedure_catalogue.h"

namespace carelog::app::forms {

int Warn(int kind, std::string_view text1, std::string_view text2) {
  return appdata::ShowWarning(kind, text1, text2);
}

void UseFile(appdata::FileId file) {
  appdata::UseFile(file);
}

void ReleaseFile(appdata::FileId file) {
  appdata::ReleaseFile(file);
}

void RememberKey(appdata::FileId file) {
  appdata::RememberKey(file);
}

int StoreChecked(appdata::FileId file) {
  return appdata::StoreChecked(file);
}

int DeleteChecked(appdata::FileId file) {
  return appdata::DeleteChecked(file);
}

int CallByName(std::string_view name, int32_t request) {
  return CallProcedureByName(name, request);
}

}  // namespace carelog::app::forms
