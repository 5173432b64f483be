// The declarations as the expression evaluator sees them: every file's record bound field by
// field from its layout stream, and its memos under their mixed-case names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/data/dictionary.h"
#include "app/data/records.h"
#include "runtime/eval/expression.h"
#include "runtime/eval/record_binding.h"

namespace carelog::appdata {
namespace {

std::string Eval(std::string_view text) {
  int error = 0;
  std::string value = eval::Evaluate(text, &error);
  EXPECT_EQ(error, 0) << text;
  return value;
}

TEST(Expressions, EveryFieldAndMemoIsBoundByItsDeclaredName) {
  for (const FileInfo* info : Catalogue()) {
    SCOPED_TRACE(info->label);
    const store::FileDeclaration& file = *info->instance();
    EXPECT_EQ(eval::BindRecord(file), static_cast<int>(info->fields.size()));
    for (size_t m = 0; m < info->memos.size(); ++m) {
      eval::BindMemo(info->memos[m].bound_name, *file.memos[m]);
    }
    for (const FieldRow& field : info->fields) {
      int error = 0;
      eval::Evaluate(field.name, &error);
      EXPECT_EQ(error, 0) << field.name;
    }
  }
}

// The range filters of the browses compare a child's patient number with the patient's,
// the discharge summaries' DECIMAL one included.
TEST(Expressions, RangeFiltersReadTheRecordBuffers) {
  eval::BindRecord(PatientsFile());
  eval::BindRecord(DischargeSummaryFile());
  eval::BindRecord(MedicationsFile());
  eval::BindRecord(PocFile());
  eval::BindRecord(ProgressNotesFile());
  PAT.PATIENT_NUMBER = 123;
  MED.PATIENT_NUMBER = 123;
  ASSERT_EQ(EncodeDecimal(123, DIS.PATIENT_NUMBER.span()), DecimalStatus::kOk);
  EXPECT_EQ(Eval("MED:Patient_Number = PAT:Patient_Number"), "1");
  EXPECT_EQ(Eval("DIS:Patient_Number = PAT:Patient_Number"), "1");
  ASSERT_EQ(EncodeDecimal(-123, DIS.PATIENT_NUMBER.span()), DecimalStatus::kOk);
  EXPECT_EQ(Eval("DIS:Patient_Number"), "-123");

  POC.PROGNOSIS.EXCELLENT = 1;
  PRO.TYPE_OF_VISIT[2] = 7;
  EXPECT_EQ(Eval("POC:Excellent"), "1");
  EXPECT_EQ(Eval("PRO:Type_Of_Visit[3]"), "7");
}

}  // namespace
}  // namespace carelog::appdata
