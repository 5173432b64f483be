// The catalogue walked row by row: names, call relations both ways, files, modules and window
// labels; and the request protocol through it.
#include "app/procedure_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "app/data/dictionary.h"
#include "app/procedure_entries.h"
#include "app/procedure_frame.h"
#include "app/procedure_globals.h"
#include "runtime/window/definition_loader.h"
#include "runtime/window/window_testing.h"

namespace carelog::app {
namespace {

bool Names(const char* list, std::string_view name) {
  auto names = NamesOf(list);
  return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(Catalogue, SixtyFiveUniqueProceduresWhoseCallRelationsAgreeBothWays) {
  ASSERT_EQ(Catalogue().size(), 65u);
  std::set<std::string_view> seen;
  for (const CatalogueRow& row : Catalogue()) {
    SCOPED_TRACE(row.name);
    EXPECT_TRUE(seen.insert(row.name).second) << "twice";
    for (std::string_view caller : NamesOf(row.callers)) {
      if (caller == "started" || caller == "program") continue;
      const CatalogueRow* other = FindProcedure(caller);
      ASSERT_NE(other, nullptr) << caller;
      EXPECT_TRUE(Names(other->callees, row.name)) << caller << " does not call it";
    }
    for (std::string_view callee : NamesOf(row.callees)) {
      const CatalogueRow* other = FindProcedure(callee);
      ASSERT_NE(other, nullptr) << callee;
      // The frame starts its browses: they name "started" as their caller.
      bool started = std::string_view(row.name) == "MAIN" && Names(other->callers, "started");
      EXPECT_TRUE(started || Names(other->callers, row.name))
          << callee << " does not name it as caller";
    }
  }
  EXPECT_EQ(NamesOf(FindProcedure("BROWSEALL")->callees).size(), 16u)
      << "the patient form, the report and 14 sub-browses";
  EXPECT_EQ(NamesOf(FindProcedure("UPDATEPATIENTS")->callees).size(), 15u);
  EXPECT_TRUE(Names(FindProcedure("BROWSEALL")->callers, "started"));
}

TEST(Catalogue, EveryFileNamedIsInTheDictionary) {
  std::set<std::string_view> prefixes;
  for (const appdata::FileInfo* info : appdata::Catalogue()) prefixes.insert(info->prefix);
  for (const CatalogueRow& row : Catalogue()) {
    for (std::string_view prefix : NamesOf(row.files)) {
      EXPECT_TRUE(prefixes.contains(prefix)) << row.name << ": " << prefix;
    }
  }
  EXPECT_EQ(NamesOf(FindProcedure("UPDATEPATIENTS")->files).size(), 15u);
}

TEST(Catalogue, EveryProcedureIsBuiltAndItsWindowsExist) {
  // A label that is not defined is a fatal error of the loader; here it fails the test instead.
  window::FatalErrorHandler previous = window::SetFatalErrorHandler([](int, const char*) {});
  for (const CatalogueRow& row : Catalogue()) {
    EXPECT_NE(EntryPointOf(row.name), nullptr) << row.name << " has no entry point";
    for (const std::string& label : WindowLabelsOf(row)) {
      window::DefinitionLoader loader;
      bool found = loader.Open(ModuleIdentifierOf(row), label) == window::DefinitionError::kOk &&
                   loader.has_structure();
      EXPECT_TRUE(found) << ModuleIdentifierOf(row) << " " << label;
    }
  }
  window::SetFatalErrorHandler(previous);
  for (auto table : {FrameEntryPoints(), DialogEntryPoints(), BrowseEntryPoints(),
                     FormEntryPoints(), ReportEntryPoints()}) {
    for (const EntryPointRow& entry : table) EXPECT_NE(FindProcedure(entry.name), nullptr);
  }
  EXPECT_EQ(WindowLabelsOf(*FindProcedure("MAIN")), std::vector<std::string>{"MAIN$APPFRAME"});
  EXPECT_EQ(ModuleIdentifierOf(*FindProcedure("BROWSEALL")), "carelog.cpp$carlg003");
}

// A name without an entry point (as a procedure not built would be), so that calling it waits
// for no one.
TEST(Catalogue, AProcedureNotBuiltIsNotStartedAndAnswersCancelled) {
  const std::string not_built = "NOTBUILTPROCEDURE";
  int32_t response = -1, form_response = -1, form_working = -1, unknown = -1;
  int thread = -1;
  window::testing::Program program([&] {
    thread = StartProcedure(not_built, 25000);
    response = CallProcedureByName(not_built, kReqChange);
    // A form called to change calls another procedure (one not built, so that nothing waits for
    // the user): the callee's answer stays out of the form's own.
    ProcRequest = kReqChange;
    window::Structure unused(window::StructureKind::kWindow, "PROC$WINDOW",
                             window::testing::kModule, window::UseTable{});
    ProcedureFrame form(unused, false);
    form.working_request = kReqDelete;
    form.Call(not_built, kReqSelect);
    form_working = form.working_request;
    form.Return();
    form_response = ProcResponse;
    unknown = CallProcedureByName("NOSUCHPROCEDURE");
  });
  program.Join();
  EXPECT_EQ(thread, 0);
  EXPECT_EQ(response, kRespCancelled);
  EXPECT_EQ(unknown, kRespCancelled);
  EXPECT_EQ(form_working, kReqChange) << "restored to the entry request";
  EXPECT_EQ(form_response, kRespCancelled);
  EXPECT_EQ(ProcRequest, kNoRequest);
}

}  // namespace
}  // namespace carelog::app
