// Every writer of the program treats its destination alike: a symbolic link is written through,
// the open data file is never overwritten (under any name), a full disk leaves the old file and is
// reported, and any name the file system allows is written under its own bytes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>

#include "core/atomic_file.h"
#include "core/description_file.h"
#include "core/save_data.h"
#include "platform/image_output.h"
#include "render/emf_surface.h"
#include "scene_fixture.h"
#include "settings/settings_files.h"
#include "settings/template_file.h"

namespace sx {
namespace {

ssize_t DiskFull(int, const void*, std::size_t) {
  errno = ENOSPC;
  return -1;
}

TEST(FileWriters, LinksDataFileFullDiskAndNames) {
  Scene scene("Depth\tA\n1\t2\n2\t3\n");
  const TestFiles& files = scene.files;
  const std::string dir = files.dir(), data = scene.data().DataFilePath;
  const std::string dataBytes = ReadBytes(data);
  const std::unique_ptr<Session>& session = scene.session;
  session->data.DescriptionLineCount = 1;
  session->data.DescriptionTable[1].label.assign("Citation:");

  auto image = [&](ImageFormat format) {
    return [&, format](const std::string& path) {
      ImageOptions options;
      options.width = options.height = 100;
      options.openDataFile = data;
      return WriteImageFile(path, format, options, DrawSample).empty();
    };
  };
  const std::pair<const char*, std::function<bool(const std::string&)>> writers[] = {
      {"png", image(ImageFormat::kPng)},
      {"svg", image(ImageFormat::kSvg)},
      {"pdf", image(ImageFormat::kPdf)},
      {"emf",
       [&](const std::string& path) {
         EmfSurface emf(100, 100, 96.0f, 96.0f);
         DrawSample(emf);
         return emf.WriteEmf(path, data);
       }},
      {"save",
       [&](const std::string& path) { return SaveDataAs(session->data, "", data, path).ok(); }},
      {"template",
       [&](const std::string& path) {
         return WriteTemplate(session->data, session->settings, path);
       }},
      {"preferences",
       [&](const std::string& path) { return WritePreferences(path, session->settings, 0, data); }},
      {"window",
       [&](const std::string& path) {
         return WriteWindowFile(path, session->startup, 800, 600, data);
       }},
      {"description",
       [&](const std::string& path) { return SaveDescription(session->data, path).ok(); }},
  };
  for (const auto& [name, write] : writers) {
    SCOPED_TRACE(name);
    const std::string target = files.Write(std::string("target-") + name, "old");
    const std::string link = dir + "/link-" + name;
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    EXPECT_TRUE(write(link));
    EXPECT_NE(ReadBytes(target), "old");
    EXPECT_TRUE(std::filesystem::is_symlink(link));

    const std::string toData = dir + "/to-data-" + name;
    ASSERT_EQ(symlink(data.c_str(), toData.c_str()), 0);
    EXPECT_FALSE(write(toData));
    EXPECT_FALSE(write(data));
    EXPECT_EQ(ReadBytes(data), dataBytes);

    const std::string kept = files.Write(std::string("kept-") + name, "old");
    SetFileWriteCallForTesting(DiskFull);
    EXPECT_FALSE(write(kept));
    SetFileWriteCallForTesting(nullptr);
    EXPECT_EQ(ReadBytes(kept), "old");

    for (const std::string& fileName :
         {std::string(255 - std::string(name).size(), 'n') + name, "out\xff" + std::string(name)}) {
      EXPECT_TRUE(write(dir + "/" + fileName));
      EXPECT_FALSE(ReadBytes(dir + "/" + fileName).empty());
    }
  }
}

}  // namespace
}  // namespace sx
