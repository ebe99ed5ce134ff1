// The headless info command as scripts use it: exit codes, messages and the JSON shape.

#include "app/cli_info.h"
#include "app/cli_options.h"
#include "shell/open_sequence.h"
#include "shell/session.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "core/reader.h"
#include "settings/template_file.h"
#include "test_files.h"

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

TEST(CliInfo, TemplateRenamesColumnsAndBadTemplatesAreReported) {
  TestFiles files;
  const std::string data = files.Write("d.tab", "Depth [m]\tA\tB\n1\t2\t3\n2\t4\t5\n");
  // A template written by the program itself, with the second parameter renamed.
  std::string stf;
  {
    RecordingUserInterface ui;
    auto s = CreateSession({}, ui);
    SetDataFilePath(s->data, data);
    ASSERT_EQ(OpenDataFile(*s), 0);
    s->data.column(2).label.assign("Renamed");
    stf = files.dir() + "/t.stf";
    ASSERT_TRUE(WriteTemplate(s->data, s->settings, stf));
  }
  CliRun r = Info({data, "--json", "--template", stf});
  ASSERT_EQ(r.status, 0) << r.err;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["columns"][2]["label"], "Renamed");
  EXPECT_EQ(j["templatePath"], stf);

  // A missing or foreign template is reported, and the file loads without it.
  const std::pair<std::string, std::string> bad[] = {
      {files.dir() + "/missing.stf", "Could not open file:\n>" + files.dir() + "/missing.stf<"},
      {files.Write("old.stf", "1999-01-01\n"), "Wrong format of data."}};
  for (const auto& [path, message] : bad) {
    r = Info({data, "--json", "--template", path});
    ASSERT_EQ(r.status, 0);
    j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["messages"], nlohmann::json::array({message})) << path;
  }
}

}  // namespace
}  // namespace sx::cli
