// The render command end to end, as a script runs it: the real executable, real files.

#include <gtest/gtest.h>

#include <string>

#include "cli_run.h"
#include "test_files.h"

namespace {

TEST(CliRender, WritesEveryOutputFormat) {
  sx::TestFiles files;
  CliResult r = RunCli("render " + kExample + " -o " + files.dir() + "/a.ops --size 800x600");
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string ops = ReadFile(files.dir() + "/a.ops");
  EXPECT_NE(ops.find("line "), std::string::npos);
  EXPECT_NE(ops.find("\"max.: 9.8"), std::string::npos) << ops;

  // Each picture format with a mark of its own near the start of the file.
  const std::pair<const char*, const char*> formats[] = {
      {"png", "PNG"}, {"svg", "<svg"}, {"pdf", "%PDF"}};
  for (const auto& [ext, mark] : formats) {
    const std::string out = files.dir() + "/a." + ext;
    r = RunCli("render " + kExample + " -o " + out + " --mode horizontal");
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string bytes = ReadFile(out);
    ASSERT_GT(bytes.size(), 1000u) << ext;
    EXPECT_NE(bytes.substr(0, 200).find(mark), std::string::npos) << ext;
  }
}

TEST(CliRender, BadArgumentsAndFiles) {
  sx::TestFiles files;
  for (const char* bad : {"", " -o x.gif", " -o x.png --size 10x", " -o x.png --size 0x10",
                          " -o x.png --mode sideways"}) {
    EXPECT_EQ(RunCli("render " + kExample + bad).status, 64) << bad;
  }
  const CliResult missing =
      RunCli("render " + files.dir() + "/none.tab -o " + files.dir() + "/n.png");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.output.find("Could not open file:\n>"), std::string::npos);
  // An output that cannot be written is reported, not passed over.
  EXPECT_EQ(RunCli("render " + kExample + " -o " + files.dir() + "/no/dir/x.ops").status, 3);
}

}  // namespace
