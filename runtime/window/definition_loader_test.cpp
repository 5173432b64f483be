#include "runtime/window/definition_loader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "runtime/window/definition_writer.h"

namespace carelog::window {
namespace {

std::vector<uint8_t> Encode(const Module& module) {
  std::vector<uint8_t> body;
  std::string error;
  EXPECT_TRUE(EncodeModule(module, &body, &error)) << error;
  return body;
}

Entry Window(const std::string& label, const std::string& title) {
  Entry window;
  window.kind = kKindWindow;
  window.strings[Field::kLabel] = label;
  window.strings[Field::kTitle] = title;
  Entry prompt;
  prompt.kind = kKindPrompt;
  prompt.at = Rect{1, 2, 3, 4};
  prompt.strings[Field::kText] = "Name:";
  window.children = {prompt, prompt};
  return window;
}

// Records fatal errors instead of ending the test program.
std::vector<int> fatal_codes;
void RecordFatal(int code, const char* message) {
  fatal_codes.push_back(code);
  EXPECT_STREQ(message, "Internal error 02");
}

class LoaderTest : public testing::Test {
 protected:
  void SetUp() override {
    fatal_codes.clear();
    previous_ = SetFatalErrorHandler(&RecordFatal);
  }
  void TearDown() override {
    SetFatalErrorHandler(previous_);
    for (const ResourceModule* module : added_) RemoveResourceModule(module);
  }

  // Registers bodies as a resource module that lives as long as the test.
  void Add(std::vector<std::pair<std::string, std::vector<uint8_t>>> bodies) {
    auto& storage = storage_.emplace_back(std::move(bodies));
    auto& records = records_.emplace_back();
    for (auto& [name, bytes] : storage) {
      records.push_back(ResourceRecord{"DABDUMP", name.c_str(), bytes.data(), bytes.size()});
    }
    modules_.push_back(
        std::make_unique<ResourceModule>(ResourceModule{"test", records.data(), records.size()}));
    AddResourceModule(modules_.back().get());
    added_.push_back(modules_.back().get());
  }

  FatalErrorHandler previous_ = nullptr;
  std::vector<std::vector<std::pair<std::string, std::vector<uint8_t>>>> storage_;
  std::vector<std::vector<ResourceRecord>> records_;
  std::vector<std::unique_ptr<ResourceModule>> modules_;
  std::vector<const ResourceModule*> added_;
};

TEST_F(LoaderTest, FindsAStructureByModuleAndLabelWithoutRegardToCase) {
  Module module{"carelog.cpp$carlg096",
                {Window("FIRST$QUICKWINDOW", "One"), Window("SECOND$QUICKWINDOW", "Two")}};
  Add({{"carlg096_RSC", Encode(module)}});
  DefinitionLoader loader;
  ASSERT_EQ(loader.Open("CARELOG.CPP$CARLG096", "second$quickwindow"), DefinitionError::kOk);
  EXPECT_TRUE(fatal_codes.empty());
  EXPECT_EQ(*loader.structure().String(Field::kTitle), "Two");
  EXPECT_EQ(loader.structure().children.size(), 2u);
  // The offset indexes the loaded copy, whose first byte is zero.
  EXPECT_EQ(loader.image().bytes[0], 0);
  EXPECT_EQ(loader.image().bytes[loader.offset()], kKindWindow);
  EXPECT_EQ(loader.module(), modules_.back().get());
}

TEST_F(LoaderTest, MissingLabelOrModuleIsInternalError02) {
  Add({{"CARLG097_RSC", Encode(Module{"carelog.cpp$carlg097", {Window("A$WINDOW", "A")}})},
       {"CARLG064_RSC", Encode(Module{"carelog.cpp$carlg064", {}})}});
  DefinitionLoader loader;
  EXPECT_EQ(loader.Open("carelog.cpp$carlg097", "B$WINDOW"), DefinitionError::kLabelNotFound);
  EXPECT_FALSE(loader.has_structure());
  EXPECT_EQ(loader.Open("carelog.cpp$carlg064", "A$WINDOW"), DefinitionError::kLabelNotFound);
  EXPECT_EQ(loader.Open("carelog.cpp$carlg099", "A$WINDOW"), DefinitionError::kResourceNotFound);
  // The resource name matches but the body holds another module.
  EXPECT_EQ(loader.Open("other.cpp$carlg097", "A$WINDOW"), DefinitionError::kModuleMismatch);
  EXPECT_EQ(fatal_codes, (std::vector<int>{502, 502, 502, 502}));
}

TEST_F(LoaderTest, TheExecutableIsSearchedFirst) {
  std::vector<uint8_t> exe_body = Encode(Module{"p$dup", {Window("A$W", "from executable")}});
  static ResourceRecord exe_record;
  exe_record = ResourceRecord{"DABDUMP", "DUP_RSC", exe_body.data(), exe_body.size()};
  static const ResourceModule exe_module{"executable", &exe_record, 1};
  Add({{"dup_rsc", Encode(Module{"p$dup", {Window("A$W", "from a module")}})}});
  const ResourceModule* program = RegisterExecutableResources(&exe_module);
  DefinitionLoader loader;
  ASSERT_EQ(loader.Open("p$dup", "A$W"), DefinitionError::kOk);
  EXPECT_EQ(*loader.structure().String(Field::kTitle), "from executable");
  RegisterExecutableResources(nullptr);
  ASSERT_EQ(loader.Open("p$dup", "A$W"), DefinitionError::kOk);
  EXPECT_EQ(*loader.structure().String(Field::kTitle), "from a module");
  RegisterExecutableResources(program);
}

TEST(ResourceName, IsTheModuleNameAfterTheDollarPlusRsc) {
  EXPECT_EQ(ResourceNameOf("carelog.cpp$carlg006"), "carlg006_RSC");
  EXPECT_EQ(ResourceNameOf("plain"), "plain_RSC");
}

// Damaged bodies: each must give a clean error, never a crash or a hang.
class DamagedBody : public testing::Test {
 protected:
  void SetUp() override {
    Entry window = Window("A$WINDOW", "Title");
    window.alerts = {5, 0x2D};
    body_ = Encode(Module{"m$x", {window, Window("B$WINDOW", "Other")}});
    base_ = std::strlen(reinterpret_cast<const char*>(body_.data())) + 1 - 2;
    Module module;
    ASSERT_EQ(DecodeModule(body_.data(), body_.size(), &module), DefinitionError::kOk);
    window_ = Word(2);
    first_child_ = Word(window_ + 29);
  }
  uint32_t Word(uint32_t offset) const {
    uint32_t value = 0;
    std::memcpy(&value, body_.data() + base_ + offset, 4);
    return value;
  }
  void SetWord(uint32_t offset, uint32_t value) {
    std::memcpy(body_.data() + base_ + offset, &value, 4);
  }
  DefinitionError Decode() const {
    Module module;
    return DecodeModule(body_.data(), body_.size(), &module);
  }

  std::vector<uint8_t> body_;
  size_t base_ = 0;
  uint32_t window_ = 0;
  uint32_t first_child_ = 0;
};

TEST_F(DamagedBody, EveryTruncationIsAnError) {
  std::vector<uint8_t> whole = body_;
  for (size_t size = 0; size < whole.size(); ++size) {
    Module module;
    DefinitionError error = DecodeModule(whole.data(), size, &module);
    // Cutting off only unreferenced tail bytes cannot happen: the last entry ends the body.
    EXPECT_NE(error, DefinitionError::kOk) << "size " << size;
  }
}

TEST_F(DamagedBody, OffsetsOutsideTheBodyOrIntoThePrefix) {
  SetWord(window_ + 41, static_cast<uint32_t>(body_.size()));
  EXPECT_EQ(Decode(), DefinitionError::kOffsetOutOfRange);
  SetWord(window_ + 41, 1);
  EXPECT_EQ(Decode(), DefinitionError::kOffsetOutOfRange);
  SetWord(window_ + 41, 0xFFFFFFF0u);
  EXPECT_EQ(Decode(), DefinitionError::kOffsetOutOfRange);
}

TEST_F(DamagedBody, LoopsInListsAndChains) {
  SetWord(first_child_ + 1, first_child_);  // a sibling that is itself
  EXPECT_EQ(Decode(), DefinitionError::kLoop);
  SetWord(first_child_ + 1, 0);
  SetWord(2, window_);
  uint32_t second = Word(window_ + 1);
  SetWord(second + 1, window_);  // the top-level list runs back to its start
  EXPECT_EQ(Decode(), DefinitionError::kLoop);
  SetWord(second + 1, 0);
  uint32_t alert = Word(window_ + 73);
  SetWord(alert + 4, alert);
  EXPECT_EQ(Decode(), DefinitionError::kLoop);
}

TEST_F(DamagedBody, UnknownOrMisplacedKinds) {
  body_[base_ + first_child_] = 99;
  EXPECT_EQ(Decode(), DefinitionError::kUnknownKind);
  body_[base_ + first_child_] = kKindWindow;
  EXPECT_EQ(Decode(), DefinitionError::kMisplacedKind);
  body_[base_ + first_child_] = kKindItem;
  EXPECT_EQ(Decode(), DefinitionError::kMisplacedKind);
}

TEST_F(DamagedBody, MissingTerminators) {
  Module module;
  EXPECT_EQ(DecodeModule(reinterpret_cast<const uint8_t*>("abc"), 3, &module),
            DefinitionError::kTruncated);
  // A string reference to the last bytes of the body, which hold no zero.
  body_ = Encode(Module{"m$x", {Window("A$WINDOW", "Title")}});
  body_.push_back('x');
  SetWord(Word(2) + 41, static_cast<uint32_t>(body_.size() - base_ - 1));
  EXPECT_EQ(Decode(), DefinitionError::kUnterminatedString);
}

TEST_F(DamagedBody, LoaderReportsDamageAsInternalError02) {
  SetWord(first_child_ + 1, first_child_);
  static std::vector<uint8_t> damaged;
  damaged = body_;
  static ResourceRecord record;
  record = ResourceRecord{"DABDUMP", "x_RSC", damaged.data(), damaged.size()};
  static const ResourceModule module{"damaged", &record, 1};
  AddResourceModule(&module);
  fatal_codes.clear();
  FatalErrorHandler previous = SetFatalErrorHandler(&RecordFatal);
  DefinitionLoader loader;
  EXPECT_EQ(loader.Open("m$x", "A$WINDOW"), DefinitionError::kLoop);
  EXPECT_EQ(fatal_codes, std::vector<int>{502});
  SetFatalErrorHandler(previous);
  RemoveResourceModule(&module);
}

TEST(DeepNesting, IsRefusedBeforeTheStackRunsOut) {
  Entry window;
  window.kind = kKindWindow;
  window.strings[Field::kLabel] = "A$W";
  Entry* parent = &window;
  for (int i = 0; i < kMaxDepth; ++i) {
    Entry group;
    group.kind = kKindGroup;
    parent->children.push_back(group);
    parent = &parent->children.back();
  }
  std::vector<uint8_t> body = Encode(Module{"m$x", {window}});
  Module module;
  ASSERT_EQ(DecodeModule(body.data(), body.size(), &module), DefinitionError::kOk);

  // One level more: the writer refuses it, and so does the reader of a body patched to hold it.
  std::vector<uint8_t> deeper;
  std::string error;
  Entry group;
  group.kind = kKindGroup;
  parent->children.push_back(group);
  EXPECT_FALSE(EncodeModule(Module{"m$x", {window}}, &deeper, &error));

  size_t base = std::strlen(reinterpret_cast<const char*>(body.data())) + 1 - 2;
  auto word = [&](uint32_t offset) {
    uint32_t value = 0;
    std::memcpy(&value, body.data() + base + offset, 4);
    return value;
  };
  uint32_t innermost = word(word(2) + 29);
  while (word(innermost + 69) != 0) innermost = word(innermost + 69);
  uint32_t added = static_cast<uint32_t>(body.size() - base);
  body.resize(body.size() + LayoutOf(kKindGroup)->size, 0);
  body[base + added] = kKindGroup;
  std::memcpy(body.data() + base + innermost + 69, &added, 4);
  Module too_deep;
  EXPECT_EQ(DecodeModule(body.data(), body.size(), &too_deep), DefinitionError::kTooDeep);
}

}  // namespace
}  // namespace carelog::window
