// The save and batch commands end to end, as a script runs them: the real executable, real files.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli_run.h"
#include "core/reader.h"
#include "core/session.h"
#include "settings/template_file.h"
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
  const std::string text = ReadFile(saved);
  EXPECT_EQ(text.rfind("/* ", 0), 0u) << text;
  EXPECT_NE(text.find("Citation:\tA core\n*/\n"), std::string::npos) << text;
  // The data lines are copied as they were, the rejected one included.
  EXPECT_NE(text.find("\n0\t10.5\t35.1\n10\tbad\t35.3\n20\t11.2\t35.0\n"), std::string::npos)
      << text;

  // The saved file loads again and saves with the same description and data lines.
  const std::string again = files.dir() + "/again.tab";
  r = RunCli("save " + saved + " -o " + again);
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string textAgain = ReadFile(again);
  EXPECT_EQ(textAgain.substr(0, textAgain.find("Depth")), text.substr(0, text.find("Depth")));
  EXPECT_EQ(textAgain.substr(textAgain.find("\n0\t")), text.substr(text.find("\n0\t")));

  // The source itself as destination, a missing source, a missing template, bad arguments.
  EXPECT_EQ(RunCli("save " + source + " -o " + source).status, 3);
  EXPECT_EQ(ReadFile(source), kData);
  EXPECT_EQ(RunCli("save " + files.dir() + "/none.tab -o " + files.dir() + "/x.tab").status, 1);
  r = RunCli("save " + source + " -o " + files.dir() + "/t.tab --template " + files.dir() +
             "/none.stf");
  EXPECT_NE(r.status, 0);
  EXPECT_FALSE(std::filesystem::exists(files.dir() + "/t.tab"));
  EXPECT_EQ(RunCli("save " + source).status, 64);
  EXPECT_EQ(RunCli("save " + source + " -o x.tab --bogus").status, 64);
  EXPECT_EQ(RunCli("save " + source + " -o " + files.dir() + "/no/dir/x.tab").status, 3);

  // A template made from the same file, with its second parameter renamed, renames the header.
  {
    sx::RecordingUserInterface ui;
    auto session = sx::CreateSession({}, ui);
    sx::SetDataFilePath(session->data, source);
    ASSERT_EQ(sx::OpenDataFile(*session), 0);
    session->data.column(2).label.assign("Salinity (psu)");
    ASSERT_TRUE(sx::WriteTemplate(*session, files.dir() + "/t.stf"));
  }
  r = RunCli("save " + source + " -o " + files.dir() + "/out.tab --template " + files.dir() +
             "/t.stf");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(ReadFile(files.dir() + "/out.tab").find("\tSalinity (psu)\n0\t10.5"),
            std::string::npos);
}

TEST(CliBatch, ExportsEachFileAndSummarisesTheMissingOne) {
  sx::TestFiles files;
  const std::string a = files.Write("dep12.sx", kData);
  const std::string b = files.Write("dep13.tab", ReadFile(kExample));
  const std::string missing = files.dir() + "/missing.tab";
  const CliResult r = RunCli("batch --format svg --size 640x480 " + a + " " + missing + " " + b);
  EXPECT_EQ(r.status, 1) << r.output;
  for (const std::string& out : {files.dir() + "/dep12.svg", files.dir() + "/dep13.tab.svg"}) {
    const std::string svg = ReadFile(out);
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

  EXPECT_EQ(RunCli("batch --format svg " + a).status, 0);
  for (const std::string& bad :
       {"--format gif " + a, std::string("--format svg"), "--size 0x5 " + a})
    EXPECT_EQ(RunCli("batch " + bad).status, 64) << bad;
}

TEST(CliBatch, WritesEnhancedMetafiles) {
  sx::TestFiles files;
  const CliResult r = RunCli("batch " + files.Write("dep12.sx", kData));
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string emf = ReadFile(files.dir() + "/dep12.emf");
  ASSERT_GT(emf.size(), 200u);
  EXPECT_EQ(emf.substr(40, 4), " EMF");  // the header's signature
}

}  // namespace
