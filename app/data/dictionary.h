// The data dictionary: the eighteen data files of the application, their declarations and the
// catalogue through which other modules find them.
//
// Each file has:
//   - a FileInfo k<Name>Info (file_info.h): constant tables of fields, keys and memos and the
//     layout stream encoded from them at compile time;
//   - a record buffer named by its prefix (records.h: PAT, PHY, ... WFN);
//   - an accessor <Name>File() returning the live store::FileDeclaration over that buffer: for a
//     THREAD file the calling thread's own copy, for POC and Fonts the process's one.
// File statements are always given the declaration from the accessor on the thread that runs
// them; the record store reaches keys through declaration.keys[i] and memos through
// declaration.memos[i], whose order is that of the FileInfo's keys and memos; keys.h names
// them (Key(PatKey::KEY_LAST_NAME), Memo(PatMemo::PLANS_AND_PROGRESS)).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "app/data/file_info.h"
#include "runtime/store/declarations.h"

namespace carelog::appdata {

enum class FileId : uint8_t {
  kPatients,
  kPhyscians,
  kProgressNotes,
  kMedications,
  kDischargeSummary,
  kCarePlan,
  kNarrative,
  kOrders,
  kSixtyDay,
  kHhaAssign,
  kMonthCal,
  kCalendar,
  kFamily,
  kDoctors,
  kPoc,
  kAddInfo,
  kCaseCon,
  kFonts,
};
inline constexpr size_t kFileCount = 18;

extern const FileInfo kPatientsInfo;
extern const FileInfo kPhysciansInfo;
extern const FileInfo kProgressNotesInfo;
extern const FileInfo kMedicationsInfo;
extern const FileInfo kDischargeSummaryInfo;
extern const FileInfo kCarePlanInfo;
extern const FileInfo kNarrativeInfo;
extern const FileInfo kOrdersInfo;
extern const FileInfo kSixtyDayInfo;
extern const FileInfo kHhaAssignInfo;
extern const FileInfo kMonthCalInfo;
extern const FileInfo kCalendarInfo;
extern const FileInfo kFamilyInfo;
extern const FileInfo kDoctorsInfo;
extern const FileInfo kPocInfo;
extern const FileInfo kAddInfoInfo;
extern const FileInfo kCaseConInfo;
extern const FileInfo kFontsInfo;

store::FileDeclaration& PatientsFile();
store::FileDeclaration& PhysciansFile();
store::FileDeclaration& ProgressNotesFile();
store::FileDeclaration& MedicationsFile();
store::FileDeclaration& DischargeSummaryFile();
store::FileDeclaration& CarePlanFile();
store::FileDeclaration& NarrativeFile();
store::FileDeclaration& OrdersFile();
store::FileDeclaration& SixtyDayFile();
store::FileDeclaration& HhaAssignFile();
store::FileDeclaration& MonthCalFile();
store::FileDeclaration& CalendarFile();
store::FileDeclaration& FamilyFile();
store::FileDeclaration& DoctorsFile();
store::FileDeclaration& PocFile();
store::FileDeclaration& AddInfoFile();
store::FileDeclaration& CaseConFile();
store::FileDeclaration& FontsFile();

// All files in FileId order.
std::span<const FileInfo* const> Catalogue();
const FileInfo& Info(FileId file);

// The live declaration of `file` for the calling thread.
store::FileDeclaration& Declaration(FileId file);

// Blanks every memo of the calling thread's record of `file`.
void BlankMemos(FileId file);

// The file whose declaration (of any thread) this is, or null for a foreign declaration.
const FileInfo* InfoOf(const store::FileDeclaration& declaration);

// Lookups by declared name (exact, upper case as declared): 1-based field number and 0-based
// key and memo indexes, or 0 / -1 when there is no such name.
uint32_t FieldNumberOf(const FileInfo& info, std::string_view field);
int KeyIndexOf(const FileInfo& info, std::string_view key);
int MemoIndexOf(const FileInfo& info, std::string_view memo);

// The calling thread's key declaration called `key`, or null.
store::KeyDeclaration* FindKey(FileId file, std::string_view key);

}  // namespace carelog::appdata
