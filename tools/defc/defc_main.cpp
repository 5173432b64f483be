// defc: the definition compiler.
//
//   defc compile MODULE.def -o MODULE.bin   text to resource body; errors as FILE:LINE: ...
//   defc decompile MODULE.bin [-o MODULE.def]   resource body back to text
//   defc embed -o SOURCE.cpp BODY.bin...    C++ source that embeds the bodies in a program
//
// Exit status 0 on success, 1 on a malformed input, 2 on a usage or file error.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/window/definition_reader.h"
#include "runtime/window/definition_writer.h"
#include "tools/defc/embed_source.h"
#include "tools/defc/text_parser.h"
#include "tools/defc/text_printer.h"

namespace {

using carelog::window::DefinitionError;

bool ReadFile(const std::string& path, std::string* contents) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  contents->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteFile(const std::string& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  return static_cast<bool>(out);
}

int Usage() {
  std::cerr << "usage: defc compile MODULE.def -o MODULE.bin\n"
               "       defc decompile MODULE.bin [-o MODULE.def]\n"
               "       defc embed -o SOURCE.cpp BODY.bin...\n";
  return 2;
}

int Compile(const std::string& input, const std::string& output) {
  std::string text;
  if (!ReadFile(input, &text)) {
    std::cerr << input << ": error: cannot read the file\n";
    return 2;
  }
  carelog::window::Module module;
  carelog::defc::ParseError parse_error;
  if (!carelog::defc::ParseModule(text, &module, &parse_error)) {
    std::cerr << input << ":" << parse_error.line << ": error: " << parse_error.message << "\n";
    return 1;
  }
  std::vector<uint8_t> body;
  std::string error;
  if (!carelog::window::EncodeModule(module, &body, &error)) {
    std::cerr << input << ": error: " << error << "\n";
    return 1;
  }
  // The body must read back as the module it was written from.
  carelog::window::Module check;
  if (carelog::window::DecodeModule(body.data(), body.size(), &check) != DefinitionError::kOk ||
      !(check == module)) {
    std::cerr << input << ": error: the compiled body does not read back as written\n";
    return 1;
  }
  if (!WriteFile(output, body.data(), body.size())) {
    std::cerr << output << ": error: cannot write the file\n";
    return 2;
  }
  return 0;
}

int Decompile(const std::string& input, const std::string& output) {
  std::string bytes;
  if (!ReadFile(input, &bytes)) {
    std::cerr << input << ": error: cannot read the file\n";
    return 2;
  }
  carelog::window::Module module;
  uint32_t at = 0;
  DefinitionError error = carelog::window::DecodeModule(
      reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &module, &at);
  if (error != DefinitionError::kOk) {
    std::cerr << input << ": error at offset " << at << ": "
              << carelog::window::DefinitionErrorText(error) << "\n";
    return 1;
  }
  std::string text = carelog::defc::PrintModule(module);
  if (output.empty()) {
    std::cout << text;
    return std::cout ? 0 : 2;
  }
  if (!WriteFile(output, text.data(), text.size())) {
    std::cerr << output << ": error: cannot write the file\n";
    return 2;
  }
  return 0;
}

int Embed(const std::string& output, const std::vector<std::string>& inputs) {
  std::vector<std::vector<uint8_t>> bodies;
  for (const std::string& input : inputs) {
    std::string bytes;
    if (!ReadFile(input, &bytes)) {
      std::cerr << input << ": error: cannot read the file\n";
      return 2;
    }
    bodies.emplace_back(bytes.begin(), bytes.end());
  }
  std::string source;
  std::string error;
  if (!carelog::defc::EmbedSource(bodies, &source, &error)) {
    std::cerr << "defc embed: error: " << error << "\n";
    return 1;
  }
  if (!WriteFile(output, source.data(), source.size())) {
    std::cerr << output << ": error: cannot write the file\n";
    return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  std::string command = args[0];
  std::string output;
  std::vector<std::string> inputs;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (i + 1 >= args.size()) return Usage();
      output = args[++i];
    } else {
      inputs.push_back(args[i]);
    }
  }
  if (command == "compile" && inputs.size() == 1 && !output.empty()) {
    return Compile(inputs[0], output);
  }
  if (command == "decompile" && inputs.size() == 1) return Decompile(inputs[0], output);
  if (command == "embed" && !output.empty()) return Embed(output, inputs);
  return Usage();
}
