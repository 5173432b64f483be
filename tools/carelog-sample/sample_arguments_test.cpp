// The sample tool's command line: help wherever it is asked for, options checked, and nothing
// that looks like an option ever taken as the folder to write into.
#include "tools/carelog-sample/sample_arguments.h"

#include <gtest/gtest.h>

namespace carelog::sample {
namespace {

SampleArguments Parse(std::vector<std::string> arguments) {
  return ParseSampleArguments(arguments);
}

TEST(SampleArgumentsTest, HelpIsAnsweredWhereverItStands) {
  EXPECT_EQ(Parse({"--help"}).command, SampleCommand::kHelp);
  EXPECT_EQ(Parse({"-h"}).command, SampleCommand::kHelp);
  EXPECT_EQ(Parse({"data", "--seed", "3", "--help"}).command, SampleCommand::kHelp);
}

TEST(SampleArgumentsTest, AFolderAndItsOptionsAreTaken) {
  SampleArguments a = Parse({"data", "--patients", "0", "--seed", "4294967295"});
  ASSERT_EQ(a.command, SampleCommand::kWrite);
  EXPECT_EQ(a.dir, "data");
  EXPECT_EQ(a.options.patients, 0);
  EXPECT_EQ(a.options.seed, 4294967295u);
  SampleArguments plain = Parse({"./-odd"});
  ASSERT_EQ(plain.command, SampleCommand::kWrite);
  EXPECT_EQ(plain.options.patients, SampleOptions{}.patients);
}

TEST(SampleArgumentsTest, AnythingElseIsRefusedWithTheReason) {
  struct Case {
    std::vector<std::string> arguments;
    const char* problem;
  };
  const Case cases[] = {
      {{}, "no folder named"},
      {{"--verbose"}, "unknown option --verbose"},
      {{"-x", "data"}, "unknown option -x"},
      {{"data", "--colour", "red"}, "unknown option --colour"},
      {{"data", "--seed"}, "--seed without its value"},
      {{"data", "extra"}, "unexpected extra"},
      {{"data", "--patients", "1000001"}, "--patients wants 0 to 1000000"},
      {{"data", "--patients", "12x"}, "--patients wants 0 to 1000000"},
      {{"data", "--seed", "-1"}, "--seed wants 0 to 4294967295"},
  };
  for (const Case& c : cases) {
    SampleArguments a = Parse(c.arguments);
    EXPECT_EQ(a.command, SampleCommand::kRefused) << c.problem;
    EXPECT_EQ(a.problem, c.problem);
  }
}

}  // namespace
}  // namespace carelog::sample
