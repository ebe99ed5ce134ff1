// The render, save and batch commands end to end, as a script runs them: the real executable,
// real files.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "cli_run.h"
#include "test_files.h"

namespace {

constexpr char kData[] =
    "/* DATA DESCRIPTION:\nCitation:\tA core\n*/\n"
    "Depth [m]\tTemp [deg C]\tSal [psu]\n0\t10.5\t35.1\n10\tbad\t35.3\n20\t11.2\t35.0\n";

TEST(CliSave, RoundTripKeepsTheDataLinesAndRefusesTheSource) {
  sx::TestFiles files;
  const std::string source = files.Write("core.tab", kData);
  const std::string saved = files.dir() + "/saved.tab";
  CliResult r = RunCli("save " + source + " -o " + saved);
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string text = sx::ReadBytes(saved);
  EXPECT_EQ(text.rfind("/* ", 0), 0u) << text;
  EXPECT_NE(text.find("Citation:\tA core\n*/\n"), std::string::npos) << text;
  // The data lines are copied as they were, the rejected one included.
  EXPECT_NE(text.find("\n0\t10.5\t35.1\n10\tbad\t35.3\n20\t11.2\t35.0\n"), std::string::npos)
      << text;

  // The saved file loads again and saves with the same description and data lines (the labels
  // follow the stored unit style).
  r = RunCli("save " + saved + " -o " + files.dir() + "/again.tab");
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string again = sx::ReadBytes(files.dir() + "/again.tab");
  EXPECT_EQ(again.substr(0, again.find("Depth")), text.substr(0, text.find("Depth")));
  EXPECT_EQ(again.substr(again.find("\n0\t")), text.substr(text.find("\n0\t")));

  // The source itself as destination, a missing source, a missing template, bad arguments.
  EXPECT_EQ(RunCli("save " + source + " -o " + source).status, 3);
  EXPECT_EQ(sx::ReadBytes(source), kData);
  EXPECT_EQ(RunCli("save " + files.dir() + "/none.tab -o " + files.dir() + "/x.tab").status, 1);
  r = RunCli("save " + source + " -o " + files.dir() + "/t.tab --template " + files.dir() +
             "/none.stf");
  EXPECT_NE(r.status, 0);
  EXPECT_FALSE(std::filesystem::exists(files.dir() + "/t.tab"));
  EXPECT_EQ(RunCli("save " + source).status, 64);
  EXPECT_EQ(RunCli("save " + source + " -o x.tab --bogus").status, 64);
  EXPECT_EQ(RunCli("save " + source + " -o " + files.dir() + "/no/dir/x.tab").status, 3);
}

TEST(CliBatch, ExportsEachFileAndSummarisesTheMissingOne) {
  sx::TestFiles files;
  const std::string a = files.Write("dep12.sx", kData);
  const std::string b = files.Write("dep13.tab", sx::ReadBytes(kExample));
  const std::string missing = files.dir() + "/missing.tab";
  const CliResult r = RunCli("batch --format svg --size 640x480 " + a + " " + missing + " " + b);
  EXPECT_EQ(r.status, 1) << r.output;
  for (const std::string& out : {files.dir() + "/dep12.svg", files.dir() + "/dep13.tab.svg"}) {
    const std::string svg = sx::ReadBytes(out);
    EXPECT_NE(svg.find("<svg"), std::string::npos) << out;
    EXPECT_NE(svg.find("640"), std::string::npos) << out;
  }
  EXPECT_FALSE(std::filesystem::exists(missing + ".svg"));
  for (const std::string& line : {"[1/3] " + a + " -> " + files.dir() + "/dep12.svg",
                                  "[2/3] " + missing + ": skipped (could not open file)",
                                  std::string("batch: 2 written, 1 skipped, 0 failed")}) {
    EXPECT_NE(r.output.find(line), std::string::npos) << line << "\n" << r.output;
  }

  // A destination that cannot be written (a folder stands there) fails, and is reported.
  const std::string c = files.Write("c.sx", kData);
  std::filesystem::create_directory(files.dir() + "/c.svg");
  const CliResult failed = RunCli("batch --format svg " + c);
  EXPECT_EQ(failed.status, 1) << failed.output;
  EXPECT_NE(failed.output.find("batch: 0 written, 0 skipped, 1 failed"), std::string::npos)
      << failed.output;
  EXPECT_TRUE(std::filesystem::is_directory(files.dir() + "/c.svg"));

  // Enhanced metafiles by default: the header's signature.
  EXPECT_EQ(RunCli("batch " + a).status, 0);
  EXPECT_EQ(sx::ReadBytes(files.dir() + "/dep12.emf").substr(40, 4), " EMF");
  for (const std::string& bad :
       {"--format gif " + a, std::string("--format svg"), "--size 0x5 " + a})
    EXPECT_EQ(RunCli("batch " + bad).status, 64) << bad;
}

TEST(CliRender, WritesEveryOutputFormat) {
  sx::TestFiles files;
  CliResult r = RunCli("render " + kExample + " -o " + files.dir() + "/a.ops --size 800x600");
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string ops = sx::ReadBytes(files.dir() + "/a.ops");
  EXPECT_NE(ops.find("line "), std::string::npos);
  EXPECT_NE(ops.find("\"max.: 9.8"), std::string::npos) << ops;

  // Each picture format with a mark of its own near the start of the file.
  const std::pair<const char*, const char*> formats[] = {
      {"png", "PNG"}, {"svg", "<svg"}, {"pdf", "%PDF"}, {"emf", " EMF"}};
  for (const auto& [ext, mark] : formats) {
    const std::string out = files.dir() + "/a." + ext;
    r = RunCli("render " + kExample + " -o " + out + " --mode horizontal");
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string bytes = sx::ReadBytes(out);
    ASSERT_GT(bytes.size(), 1000u) << ext;
    EXPECT_NE(bytes.substr(0, 200).find(mark), std::string::npos) << ext;
  }

  // A mode with no data to draw in it writes its frame, says why and exits with a status of
  // its own.
  const std::string pair = files.Write("pair.tab", "Depth [m]\tA [%]\tB [%]\n1\t2\t3\n2\t3\t4\n");
  r = RunCli("render " + pair + " --mode ternary -o " + files.dir() + "/t.svg");
  EXPECT_EQ(r.status, 4) << r.output;
  EXPECT_NE(r.output.find("no data drawn: the Ternary mode needs"), std::string::npos) << r.output;
  EXPECT_TRUE(std::filesystem::exists(files.dir() + "/t.svg"));
  EXPECT_EQ(RunCli("render " + pair + " --mode phase -o " + files.dir() + "/p.svg").status, 0);
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

// No output replaces the data file it was drawn from, under any name; names are bytes and are
// written as given, whatever their encoding.
TEST(CliRender, OutputsNeverReplaceTheDataFileAndKeepTheirNames) {
  sx::TestFiles files;
  const std::string dir = files.dir() + "/";
  const std::string named = files.Write("data.svg", kData);  // a data file named .svg
  EXPECT_EQ(RunCli("render " + named + " -o " + named).status, 3);
  const std::string source = files.Write("src.tab", kData);
  ASSERT_EQ(symlink(source.c_str(), (dir + "src.tab.png").c_str()), 0);
  ASSERT_EQ(symlink(source.c_str(), (dir + "link.ops").c_str()), 0);
  EXPECT_EQ(RunCli("render " + source + " -o " + dir + "link.ops").status, 3);
  const CliResult batch = RunCli("batch --format png " + source);
  EXPECT_NE(batch.output.find("batch: 0 written, 0 skipped, 1 failed"), std::string::npos)
      << batch.output;
  EXPECT_EQ(sx::ReadBytes(named), kData);
  EXPECT_EQ(sx::ReadBytes(source), kData);

  const std::string out = dir + "out\xff.png";
  EXPECT_EQ(RunCli("render " + source + " -o '" + out + "'").status, 0);
  EXPECT_EQ(sx::ReadBytes(out).substr(1, 3), "PNG");
  const std::string a = files.Write("a\xff.tab", kData), b = files.Write("a\xfe.tab", kData);
  EXPECT_EQ(RunCli("batch '" + a + "' '" + b + "'").status, 0);
  EXPECT_TRUE(std::filesystem::exists(a + ".emf"));
  EXPECT_TRUE(std::filesystem::exists(b + ".emf"));
}

}  // namespace
