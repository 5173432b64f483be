// Test support for days at the agency replayed through the real executable: a private folder
// of sample data, scripts run headless on it, and the files read back as an outsider reads
// them (ldstool check and ldstool's field-by-field dump).
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_testing.h"
#include "tools/carelog-sample/sample_data.h"

namespace carelog::app::testing {

struct Result {
  int status = -1;
  std::string out, err;
};

inline std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline Result Shell(const std::string& command) {
  int raw = std::system((command + " >out.txt 2>err.txt").c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp("out.txt"), Slurp("err.txt")};
}

// Every data file of the folder with its bytes.
inline std::map<std::string, std::string> DataFiles() {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::current_path())) {
    std::string name = entry.path().filename().string();
    std::string extension = entry.path().extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (entry.is_regular_file() && extension == ".lds") files[name] = Slurp(entry.path());
  }
  return files;
}

using Record = std::map<std::string, std::string>;

// The records of an ldstool dump: each "record N" block's "  FIELD = value" lines.
inline std::vector<Record> ParseDump(const std::string& dump) {
  std::vector<Record> records;
  std::istringstream lines(dump);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("record ")) records.emplace_back();
    size_t equals = line.find(" = ");
    if (records.empty() || !line.starts_with("  ") || equals == std::string::npos) continue;
    records.back()[line.substr(2, equals - 2)] = line.substr(equals + 3);
  }
  return records;
}

// How many records have `value` in the field whose name ends with `suffix` (":PATIENT_NUMBER").
inline int CountWith(const std::vector<Record>& records, const std::string& suffix,
                     const std::string& value) {
  int count = 0;
  for (const Record& record : records) {
    for (const auto& [field, text] : record) count += field.ends_with(suffix) && text == value;
  }
  return count;
}

// The records whose `field` holds `value`.
inline std::vector<Record> RecordsWith(const std::vector<Record>& records, const std::string& field,
                                       const std::string& value) {
  std::vector<Record> found;
  for (const Record& record : records) {
    auto at = record.find(field);
    if (at != record.end() && at->second == value) found.push_back(record);
  }
  return found;
}

// A day number as the clock option ("2026-12-09T10:00") and as the @d1 picture shows it.
struct Day {
  int number = 0;
  std::string clock;
  std::string shown;
};

inline Day DayOf(int number, const char* time = "10:00") {
  std::chrono::year_month_day date{
      std::chrono::sys_days(std::chrono::year(1801) / std::chrono::January / 1) +
      std::chrono::days(number - 4)};
  char clock[32], shown[16];
  std::snprintf(clock, sizeof clock, "%04d-%02u-%02uT%s", int(date.year()), unsigned(date.month()),
                unsigned(date.day()), time);
  std::snprintf(shown, sizeof shown, "%u/%u/%02d", unsigned(date.month()), unsigned(date.day()),
                int(date.year()) % 100);
  return {number, clock, shown};
}

// The text of a PDF, or an empty string when pdftotext is missing.
inline std::string PdfText(const std::string& pdf) {
  Result text = Shell("pdftotext -layout " + pdf + " -");
  return text.status == 0 ? text.out : std::string();
}

// A folder of sample data (20 patients) made fresh for each test, with the script steps by
// which the office adds a new physician and a new patient of theirs.
class AgencyDay : public ::testing::Test {
 protected:
  void SetUp() override {
    sample::SampleCounts counts;
    std::string error;
    ASSERT_EQ(sample::WriteSampleData({20, 7}, &counts, &error), 0) << error;
    physician_ = NextNumber("PHYSCIANS.LDS", "PHY:DOCNO");
    patient_ = NextNumber("Patients.LDS", "PAT:PATIENT_NUMBER");
  }

  Result Script(const std::string& script, const std::string& clock = "2026-12-09T10:30") {
    std::ofstream("script.txt") << script;
    return Shell(std::string(CARELOG_BINARY) + " --headless --clock=" + clock +
                 " --script script.txt");
  }

  // ldstool check passes on every data file of the folder.
  void ExpectSoundFiles() {
    for (const auto& [name, bytes] : DataFiles()) {
      Result check = Shell(std::string(LDSTOOL_BINARY) + " check " + name);
      EXPECT_EQ(check.status, 0) << name << ": " << check.out << check.err;
    }
  }

  // ldstool's field-by-field dump of every data file.
  std::map<std::string, std::string> Dumps() {
    std::map<std::string, std::string> dumps;
    for (const auto& [name, bytes] : DataFiles()) {
      Result dump = Shell(std::string(LDSTOOL_BINARY) + " dump " + name);
      EXPECT_EQ(dump.status, 0) << name << ": " << dump.err;
      dumps[name] = dump.out;
    }
    return dumps;
  }

  std::vector<Record> Records(const std::string& file) {
    Result dump = Shell(std::string(LDSTOOL_BINARY) + " dump " + file);
    EXPECT_EQ(dump.status, 0) << file << ": " << dump.err;
    return ParseDump(dump.out);
  }

  // The day with the most progress notes in the sample data.
  Day BusiestDay() {
    std::map<int, int> visits;
    for (const Record& note : Records("Progress.LDS")) ++visits[std::stoi(note.at("PRO:DATE"))];
    EXPECT_FALSE(visits.empty());
    if (visits.empty()) return {};
    auto busiest = std::max_element(visits.begin(), visits.end(), [](const auto& a, const auto& b) {
      return a.second < b.second;
    });
    return DayOf(busiest->first);
  }

  // The number a new record of `file` gets: the highest `field` plus one.
  std::string NextNumber(const std::string& file, const std::string& field) {
    int highest = 0;
    for (const Record& r : Records(file)) highest = std::max(highest, std::stoi(r.at(field)));
    return std::to_string(highest + 1);
  }

  // The office adds physician Marlowe, then opens a new patient's form for Harriet Quill and
  // types her general fields, her plan and the new physician's number. Leaves the patient's
  // form open.
  std::string NewPatientOfANewPhysician() const {
    return "menu \"&Browse\" \"Browse Doc&tors\"\n"
           "click \"&Insert\"\n"
           "expect-title \"Adding a Physcians Record\"\n"
           "expect-text 3 \"" +
           physician_ +
           "\"\n"
           "click 5\ntype \"Marlowe, Edith MD\"\n"
           "click 11\ntype \"Brookfield\"\n"
           "click \"OK\"\n"
           "expect-title \"Browse the Physcians File\"\n"
           "click \"Close\"\n"
           "menu \"&Browse\" \"&Browse Patients\"\n"
           "click \"&Insert\"\n"
           "expect-title \"Adding a Patients Record\"\n"
           "expect-text 3 \"" +
           patient_ +
           "\"\n"
           "click 7\ntype \"Quill, Harriet\"\n"
           "click 9\ntype \"Harriet\"\n"
           "click 11\ntype \"Quill\"\n"
           "click \"General (cont.)\"\n"
           "click 20\n"  // Female
           "click 24\ntype \"182.5\"\n"
           "click \"General (cont. 2 )\"\n"
           "click 36\ntype \"12 Orchard Lane\"\n"
           "click 40\ntype \"Brookfield\"\n"
           "click 42\ntype \"WI\"\n"
           "click 44\ntype \"53045\"\n"
           "click 46\ntype \"" +
           physician_ +
           "\"\n"
           "click \"Plans_and_Progress\"\n"
           "click 56\ntype \"Weigh daily, low salt diet\"\n";
  }

  static constexpr const char* kSavePatient =
      "click \"OK\"\n"
      "expect-title \"Browse the Patients File\"\n";

  std::string physician_, patient_;  // the numbers the office's new physician and patient get

  TempWorkingDirectory directory_;
};

}  // namespace carelog::app::testing
