// The command-line program as scripts use it: the info command in process (exit codes, messages,
// the JSON shape), and the render, save and batch commands end to end through the real
// executable and real files.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/cli_info.h"
#include "app/cli_options.h"
#include "scene_fixture.h"
#include "settings/template_file.h"

namespace sx::cli {
namespace {

struct CliRun {
  int status;
  std::string out, err;
};

CliRun Info(std::vector<std::string> args) {
  // Each run starts without stored preferences.
  TestFiles settings;
  setenv("APPDATA", settings.dir().c_str(), 1);
  std::ostringstream out, err;
  const int status = RunInfo(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(CliInfo, JsonOfALoadedFileAndTheMessagesOfTheLoad) {
  TestFiles files;
  const std::string path =
      files.Write("a.tab",
                  "/* DATA DESCRIPTION:\nCitation:\tA (2020)\n*/\nDepth [m]\tT [\xB0"
                  "C]\tNote\n"
                  "0\t3\tn.d.\n10\t7\t\n");
  CliRun r = Info({path, "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  auto j = nlohmann::ordered_json::parse(r.out);
  EXPECT_EQ(j.begin().key(), "parameterCount");  // keys keep the documented order
  EXPECT_EQ(j["rows"], 2);
  EXPECT_EQ(j["descriptionLines"][0]["label"], "Citation:");
  ASSERT_EQ(j["columns"].size(), 3u);
  EXPECT_EQ(j["columns"][1]["label"], "T (\u00B0C)");  // read as Latin-1, written as UTF-8
  EXPECT_GT(j["columns"][1]["tickIncrement"].get<double>(), 0.0);
  r = Info({path});  // plain text for people
  EXPECT_NE(r.out.find("Rows:        2\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("T (\u00B0C)"), std::string::npos) << r.out;

  std::string text = "Depth\tA\n";
  for (int i = 0; i < 20; ++i) text += std::to_string(i) + "\t1\n";
  r = Info({files.Write("b.tab", text), "--json", "--numeric-items", "30"});
  ASSERT_EQ(r.status, 0) << r.err;
  j = nlohmann::ordered_json::parse(r.out);
  EXPECT_EQ(j["rows"], 13);             // 30 / 2 columns - 2
  EXPECT_EQ(j["messages"].size(), 1u);  // the limit message
}

TEST(CliInfo, FailuresAndUsage) {
  TestFiles files;
  CliRun r = Info({files.dir() + "/none.tab"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Could not open file:\n>" + files.dir() + "/none.tab<\n");
  r = Info({files.Write("c.tab", "just one column\n1\n"), "--json"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "Wrong format of data.\n");
  EXPECT_TRUE(r.out.empty());
  const std::vector<std::vector<std::string>> usage = {{},
                                                       {"a", "--numeric-items", "0"},
                                                       {"a", "--text-items", "-5"},
                                                       {"a", "--numeric-items", "999999999999"},
                                                       {"a", "--bogus"}};
  for (const auto& args : usage) EXPECT_EQ(Info(args).status, kExitUsage) << args.size();
}

TEST(CliInfo, TemplateRenamesColumns) {
  // A template written by the program itself, with the second parameter renamed.
  Scene scene("Depth [m]\tA\tB\n1\t2\t3\n2\t4\t5\n");
  TestFiles& files = scene.files;
  const std::string data = scene.data().DataFilePath, stf = files.dir() + "/t.stf";
  scene.column(2).label.assign("Renamed");
  ASSERT_TRUE(WriteTemplate(scene.data(), scene.settings(), stf));
  CliRun r = Info({data, "--json", "--template", stf});
  ASSERT_EQ(r.status, 0) << r.err;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["columns"][2]["label"], "Renamed");
  EXPECT_EQ(j["templatePath"], stf);
}

// Runs the built command-line program as a script would.
struct CliResult {
  int status;
  std::string output;  // standard output and error together
};

// prefix goes in front of the program, e.g. "timeout -s KILL 60" for a run that must not hang.
CliResult RunCli(const std::string& arguments, const std::string& prefix = "") {
  const std::string command = prefix + " " + SONDRIX_CLI + " " + arguments + " 2>&1";
  CliResult r{-1, {}};
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return r;
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) r.output.append(buffer, n);
  const int raw = pclose(pipe);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
}

const std::string kExample = std::string(SONDRIX_SOURCE_DIR) + "/examples/core_ocean.tab";

constexpr char kData[] =
    "/* DATA DESCRIPTION:\nCitation:\tA core\n*/\n"
    "Depth [m]\tTemp [deg C]\tSal [psu]\n0\t10.5\t35.1\n10\tbad\t35.3\n20\t11.2\t35.0\n";

TEST(CliSave, WritesTheCopyRefusesTheSourceAndAMissingTemplate) {
  // What the copy holds is the engine's (its own tests); here: the command and its exit codes.
  sx::TestFiles files;
  const std::string source = files.Write("core.tab", kData);
  const std::string saved = files.dir() + "/saved.tab";
  const CliResult r = RunCli("save " + source + " -o " + saved);
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(sx::ReadBytes(saved).find("\n10\tbad\t35.3\n"), std::string::npos);
  EXPECT_EQ(RunCli("save " + source + " -o " + source).status, 3);
  EXPECT_EQ(sx::ReadBytes(source), kData);
  const std::string stf = " --template " + files.dir() + "/none.stf";
  EXPECT_NE(RunCli("save " + source + " -o " + files.dir() + "/t.tab" + stf).status, 0);
  EXPECT_FALSE(std::filesystem::exists(files.dir() + "/t.tab"));
}

TEST(CliBatch, ExportsEachFileAndSummarisesTheMissingOne) {
  sx::TestFiles files;
  const std::string a = files.Write("dep12.sx", kData);
  const std::string b = files.Write("dep13.tab", sx::ReadBytes(kExample));
  const std::string missing = files.dir() + "/missing.tab";
  const CliResult r = RunCli("batch --format svg --size 640x480 " + a + " " + missing + " " + b);
  EXPECT_EQ(r.status, 1) << r.output;
  const std::string svg = sx::ReadBytes(files.dir() + "/dep13.tab.svg");
  EXPECT_TRUE(svg.find("<svg") != std::string::npos && svg.find("640") != std::string::npos);
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

// The statuses scripts rely on: 64 for usage, 1 for a data file that cannot be read, 3 for an
// output that cannot be written.
TEST(CliStatus, UsageUnreadableDataAndUnwritableOutputs) {
  sx::TestFiles files;
  const std::string dir = files.dir() + "/", none = dir + "none.tab", ex = kExample;
  std::vector<std::string> usage = {"save " + ex, "save " + ex + " -o x.tab --bogus",
                                    "batch --format svg", "batch --format gif " + ex,
                                    "batch --size 0x5 " + ex};
  for (const char* bad : {"", " -o x.gif", " -o x.png --size 10x", " -o x.png --size 0x10",
                          " -o x.png --mode sideways"}) {
    usage.push_back("render " + ex + bad);
  }
  for (const std::string& arguments : usage) EXPECT_EQ(RunCli(arguments).status, 64) << arguments;
  for (const std::string command : {"render ", "save "}) {
    const CliResult r = RunCli(command + none + " -o " + dir + "x.ops");
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_NE(r.output.find("Could not open file:\n>" + none + "<"), std::string::npos) << r.output;
    EXPECT_EQ(RunCli(command + ex + " -o " + dir + "no/dir/x.ops").status, 3) << command;
  }
}

// No output replaces the data file it was drawn from, under any name; names are bytes and are
// written as given, whatever their encoding.
TEST(CliRender, OutputsNeverReplaceTheDataFileAndKeepTheirNames) {
  sx::TestFiles files;
  const std::string dir = files.dir() + "/";
  // Refused before any drawing, each command saying why in its own words.
  const std::string named = files.Write("data.svg", kData);  // a data file named .svg
  const std::string source = files.Write("src.tab", kData);
  ASSERT_EQ(symlink(source.c_str(), (dir + "src.tab.png").c_str()), 0);
  ASSERT_EQ(symlink(source.c_str(), (dir + "link.ops").c_str()), 0);
  for (const auto& [data, output] :
       {std::pair(named, named), std::pair(source, dir + "link.ops")}) {
    const CliResult r = RunCli("render " + data + " -o " + output);
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.output,
              "sondrix-cli render: " + output + " is the data file itself; nothing written\n");
  }
  const CliResult batch = RunCli("batch --format png " + source);
  EXPECT_NE(batch.output.find("[1/1] " + source +
                              ": failed (the output is the data file itself)\n"
                              "batch: 0 written, 0 skipped, 1 failed"),
            std::string::npos)
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

// A template that cannot be used fails each command with its own status and draws nothing, in a
// batch for every file. A FIFO is never waited for: each run is killed after a minute, so a hang
// fails the test instead of stopping the suite.
TEST(CliTemplate, OneThatCannotBeUsedFailsTheCommandAndDrawsNothing) {
  sx::TestFiles files;
  const std::string dir = files.dir() + "/";
  const std::string a = files.Write("a.tab", kData), b = files.Write("b.tab", kData);
  std::filesystem::create_directory(dir + "folder.stf");
  ASSERT_EQ(mkfifo((dir + "fifo.stf").c_str(), 0600), 0);
  struct Case {
    std::string path;
    int status;
    std::string reason;
  };
  const Case cases[] = {
      {files.Write("garbage.stf", "no template here\n"), 2, "template: wrong format of data"},
      {files.Write("old.stf", "2008-08-08\n"), 2, "template: old template"},
      {dir + "folder.stf", 1, "template: could not open file"},
      {dir + "missing.stf", 1, "template: could not open file"},
      {dir + "fifo.stf", 1, "template: could not open file"}};
  const std::string noHang = "timeout -s KILL 60";
  for (const Case& c : cases) {
    const std::string with = " --template " + c.path;
    EXPECT_EQ(RunCli("render " + a + " -o " + dir + "r.svg" + with, noHang).status, c.status);
    const CliResult info = RunCli("info " + a + with, noHang);
    EXPECT_EQ(info.status, c.status) << info.output;
    EXPECT_EQ(info.output.find("Columns:"), std::string::npos) << info.output;
    const CliResult batch = RunCli("batch --format svg" + with + " " + a + " " + b, noHang);
    EXPECT_EQ(batch.status, c.status) << batch.output;
    for (const std::string& line : {"[1/2] " + a + ": failed (" + c.reason + ")\n",
                                    "[2/2] " + b + ": failed (" + c.reason + ")\n"}) {
      EXPECT_NE(batch.output.find(line), std::string::npos) << line << batch.output;
    }
    for (const char* out : {"r.svg", "a.tab.svg", "b.tab.svg"}) {
      EXPECT_FALSE(std::filesystem::exists(dir + out)) << c.path << " " << out;
    }
  }
}

// Control bytes in names are escaped wherever a name is printed, so a name never splits a line.
TEST(CliNames, ControlBytesAreEscapedInReportsAndMessages) {
  const std::pair<std::string, std::string> names[] = {
      {"a\\b", "a\\\\b"}, {"n\nl\tt\rr", "n\\nl\\tt\\rr"}, {"\x01\x7f\xff", "\\x01\\x7f\xff"}};
  for (const auto& [raw, printed] : names) EXPECT_EQ(EscapeName(raw), printed);

  sx::TestFiles files;
  const std::string dir = files.dir() + "/";
  const std::string a = files.Write("a\nb.tab", kData), missing = dir + "m\tx.tab";
  const CliResult batch = RunCli("batch --format svg '" + a + "' '" + missing + "'");
  EXPECT_EQ(batch.status, 1);
  EXPECT_TRUE(std::filesystem::exists(a + ".svg"));
  const CliResult render = RunCli("render '" + a + "' -o '" + dir + "o\nut.svg'");
  EXPECT_EQ(render.status, 0) << render.output;
  const CliResult info = RunCli("info '" + a + "'");
  const CliResult unread = RunCli("render '" + missing + "' -o " + dir + "m.svg");
  EXPECT_EQ(unread.status, 1);
  for (const auto& [output, line] :
       {std::pair(batch.output, "[1/2] " + dir + "a\\nb.tab -> " + dir + "a\\nb.tab.svg\n"),
        std::pair(unread.output, "Could not open file:\n>" + dir + "m\\tx.tab<\n"),
        std::pair(batch.output, "[2/2] " + dir + "m\\tx.tab: skipped (could not open file)\n"),
        std::pair(batch.output, "  skipped: " + dir + "m\\tx.tab: could not open file\n"),
        std::pair(render.output, "wrote " + dir + "o\\nut.svg ("),
        std::pair(info.output, "File:        " + dir + "a\\nb.tab\n")}) {
    EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
  }
  for (const std::string& output : {batch.output, render.output, info.output, unread.output}) {
    EXPECT_EQ(output.find_first_of("\t\r"), std::string::npos) << output;
    EXPECT_EQ(output.find("a\nb"), std::string::npos) << output;
  }
}

}  // namespace
}  // namespace sx::cli
