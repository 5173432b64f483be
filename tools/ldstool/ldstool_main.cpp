// ldstool: the administrator's tool for data files.
//
//   ldstool info FILE                 header, regions, tables with record and key counts
//   ldstool check FILE                verifies the file; exit 1 with each fault and its page
//   ldstool dump FILE[\!TABLE] [--csv] the records with field names and memos
//   ldstool build FILE[\!TABLE]        rebuilds the keys of the table (every table without one)
//   ldstool pack FILE                 rebuilds every key and cuts the file after its data
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "runtime/store/data_file.h"
#include "runtime/store/file_header.h"
#include "runtime/store/file_io.h"
#include "runtime/store/index_build.h"
#include "runtime/store/table.h"
#include "runtime/store/table_name.h"
#include "tools/ldstool/file_check.h"
#include "tools/ldstool/table_dump.h"

namespace carelog::ldstool {
namespace {

using namespace carelog::store;

constexpr int kExitUsage = 2;

int Fail(const std::string& what, int code) {
  std::cerr << "ldstool: " << what << " (error " << code << ")\n";
  return kExitUsage;
}

struct Target {
  std::string file;
  std::string table;  // empty: every table
};

Target ParseTarget(const std::string& arg) {
  size_t sep = arg.find(kTableSeparator);
  if (sep == std::string::npos) return Target{arg, ""};
  return Target{arg.substr(0, sep), arg.substr(sep + kTableSeparator.size())};
}

int OpenFile(const std::string& path, bool write, std::unique_ptr<DataFile>* file) {
  DataFileOptions options;
  options.read_only = !write;
  options.shared = !write;
  return DataFile::Open(path, options, file);
}

// The tables the target names (all of them without a table part).
int SelectTables(DataFile& file, const Target& target, std::vector<StoredTableInfo>* tables) {
  int rc = ListTables(file, tables);
  if (rc != 0 || target.table.empty()) return rc;
  std::vector<StoredTableInfo> chosen;
  for (const StoredTableInfo& t : *tables) {
    if (t.name == target.table) chosen.push_back(t);
  }
  *tables = chosen;
  return chosen.empty() ? kErrFileNotFound : 0;
}

int Info(const std::string& path) {
  std::unique_ptr<File> raw;
  int rc = FileSystem::Posix().Open(path, FileOpenFlags{}, &raw);
  if (rc != 0) return Fail("cannot open " + path, rc);
  uint8_t bytes[kHeaderSize] = {};
  size_t got = 0;
  FileHeader header;
  if ((rc = raw->Read(0, bytes, sizeof bytes, &got)) != 0) return Fail("cannot read", rc);
  if (got == 0) {
    std::cout << path << ": empty data file\n";
    return 0;
  }
  if (got < sizeof bytes || !DecodeHeader(bytes, &header)) {
    return Fail(path + " is no valid data file", kErrInvalidDataFile);
  }
  std::cout << "file            " << path << "\n"
            << "last number     " << header.last_number << "\n"
            << "change counter  " << header.change_counter << "\n"
            << "root page       " << header.root << "\n"
            << "end of data     " << header.EndOfDataOffset() << "\n"
            << "redo log        " << (header.log_pending() ? "pending" : "none") << "\n"
            << "regions (class: pages at start..end)\n";
  for (int c = 1; c < kRegionCount; ++c) {
    if (header.regions.start[c] == header.regions.end[c]) continue;
    std::cout << "  " << c << ": " << header.regions.PageCount(c) << " at "
              << header.regions.start[c] << ".." << header.regions.end[c] << "\n";
  }
  std::unique_ptr<DataFile> file;
  if ((rc = OpenFile(path, false, &file)) != 0) return Fail("cannot open " + path, rc);
  std::vector<StoredTableInfo> tables;
  if ((rc = ListTables(*file, &tables)) != 0) return Fail("cannot list tables", rc);
  for (const StoredTableInfo& t : tables) {
    TableDefinition def;
    if (Table::ReadDefinition(*file, t.number, &def) != 0) {
      std::cout << "table \"" << t.name << "\": definition damaged\n";
      continue;
    }
    std::unique_ptr<Table> table;
    if ((rc = Table::Open(*file, t.name, def, false, true, &table)) != 0) {
      return Fail("cannot open table " + t.name, rc);
    }
    uint32_t records = 0;
    table->Records(&records);
    std::cout << "table \"" << t.name << "\" number " << t.number << ": " << records
              << " records, record size " << def.record_size << "\n";
    for (size_t k = 0; k < def.keys.size(); ++k) {
      uint32_t entries = 0;
      table->KeyEntries(static_cast<int>(k), &entries);
      std::cout << "  key " << k + 1 << " " << def.keys[k].name << ": " << entries << " entries\n";
    }
  }
  return 0;
}

int Check(const std::string& path) {
  std::vector<Fault> faults;
  int rc = CheckDataFile(path, &faults);
  if (rc != 0) return Fail("cannot read " + path, rc);
  for (const Fault& f : faults) {
    if (f.page < 0) {
      std::cout << "file: " << f.text << "\n";
    } else {
      std::cout << "page " << f.page << ": " << f.text << "\n";
    }
  }
  if (faults.empty()) std::cout << path << ": sound\n";
  return faults.empty() ? 0 : 1;
}

int Dump(const Target& target, bool csv) {
  std::unique_ptr<DataFile> file;
  int rc = OpenFile(target.file, false, &file);
  if (rc != 0) return Fail("cannot open " + target.file, rc);
  std::vector<StoredTableInfo> tables;
  if ((rc = SelectTables(*file, target, &tables)) != 0) return Fail("no such table", rc);
  for (const StoredTableInfo& t : tables) {
    if (!csv) std::cout << "table \"" << t.name << "\"\n";
    if ((rc = DumpTable(*file, t.number, csv, std::cout)) != 0) {
      return Fail("cannot dump " + t.name, rc);
    }
  }
  return 0;
}

// Rebuilds the keys of the target's tables; `pack` also cuts the file after its data.
int Rebuild(const Target& target, bool pack) {
  std::unique_ptr<DataFile> file;
  int rc = OpenFile(target.file, true, &file);
  if (rc != 0) return Fail("cannot open " + target.file, rc);
  std::vector<StoredTableInfo> tables;
  if ((rc = SelectTables(*file, target, &tables)) != 0) return Fail("no such table", rc);
  for (const StoredTableInfo& t : tables) {
    TableDefinition def;
    std::unique_ptr<Table> table;
    if ((rc = Table::ReadDefinition(*file, t.number, &def)) == 0) {
      rc = Table::Open(*file, t.name, def, false, false, &table);
    }
    if (rc == 0) rc = BuildAllKeys(*table);
    if (rc != 0) return Fail("cannot build the keys of " + t.name, rc);
    std::cout << "table \"" << t.name << "\": keys rebuilt\n";
  }
  if (file->in_access() && (rc = file->EndAccess()) != 0) return Fail("cannot commit", rc);
  if (pack && (rc = file->TruncateToData()) != 0) return Fail("cannot truncate", rc);
  return 0;
}

int Usage() {
  std::cerr << "usage: ldstool info FILE | check FILE | dump FILE[\\!TABLE] [--csv] |\n"
               "               build FILE[\\!TABLE] | pack FILE\n";
  return kExitUsage;
}

}  // namespace
}  // namespace carelog::ldstool

int main(int argc, char** argv) {
  using namespace carelog::ldstool;
  if (argc < 3) return Usage();
  std::string command = argv[1];
  std::string arg = argv[2];
  bool csv = argc > 3 && std::strcmp(argv[3], "--csv") == 0;
  if (command == "info" && argc == 3) return Info(arg);
  if (command == "check" && argc == 3) return Check(arg);
  if (command == "dump" && (argc == 3 || csv)) return Dump(ParseTarget(arg), csv);
  if (command == "build" && argc == 3) return Rebuild(ParseTarget(arg), false);
  if (command == "pack" && argc == 3) return Rebuild(ParseTarget(arg), true);
  return Usage();
}
