// The render command end to end, as a script runs it: the real executable, real files.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "test_files.h"

namespace {

struct Result {
  int status;
  std::string output;
};

Result RunCli(const std::string& arguments) {
  const std::string command = std::string(SONDRIX_CLI) + " " + arguments + " 2>&1";
  Result r{-1, {}};
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return r;
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) r.output.append(buffer, n);
  const int raw = pclose(pipe);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

const std::string kExample = std::string(SONDRIX_SOURCE_DIR) + "/examples/core_ocean.tab";

TEST(CliRender, WritesEveryOutputFormat) {
  sx::TestFiles files;
  Result r = RunCli("render " + kExample + " -o " + files.dir() + "/a.ops --size 800x600");
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string ops = ReadFile(files.dir() + "/a.ops");
  EXPECT_NE(ops.find("text "), std::string::npos);
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
  EXPECT_EQ(RunCli("render " + kExample).status, 64);
  EXPECT_EQ(RunCli("render " + kExample + " -o x.gif").status, 64);
  EXPECT_EQ(RunCli("render " + kExample + " -o x.png --size 10x").status, 64);
  EXPECT_EQ(RunCli("render " + kExample + " -o x.png --size 0x10").status, 64);
  EXPECT_EQ(RunCli("render " + kExample + " -o x.png --mode sideways").status, 64);
  const Result missing = RunCli("render " + files.dir() + "/none.tab -o " + files.dir() + "/n.png");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.output.find("Could not open file:\n>"), std::string::npos);
  // An output that cannot be written is reported, not passed over.
  const Result unwritable = RunCli("render " + kExample + " -o " + files.dir() + "/no/dir/x.ops");
  EXPECT_EQ(unwritable.status, 3);
}

}  // namespace
