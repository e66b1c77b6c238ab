#include <gtest/gtest.h>

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/files.h"
#include "platform/png.h"

namespace qx {
namespace {

std::string temp_dir() {
    char pattern[] = "/tmp/quorix-test-XXXXXX";
    const char* dir = ::mkdtemp(pattern);
    return dir ? dir : "/tmp";
}

TEST(Files, ReplaceWritesWholeFilesAndLeavesNoTemporaries) {
    const std::string dir = temp_dir();
    const std::string path = join_path(dir, "state.txt");
    std::string error;
    ASSERT_TRUE(replace_file(path, "first", &error)) << error;
    ASSERT_TRUE(replace_file(path, std::string(100000, 'x'), &error)) << error;
    std::string back;
    ASSERT_TRUE(read_file(path, back, 1 << 20));
    EXPECT_EQ(back, std::string(100000, 'x'));
    EXPECT_EQ(list_folder(dir, "*"), std::vector<std::string>{"state.txt"});
}

TEST(Files, AFailedReplaceKeepsTheOldFileAndSaysWhy) {
    const std::string dir = temp_dir();
    const std::string path = join_path(dir, "keep.txt");
    ASSERT_TRUE(replace_file(path, "old contents"));
    // A folder that cannot be written to: the new file cannot even begin.
    ASSERT_EQ(::chmod(dir.c_str(), 0500), 0);
    std::string error;
    const bool as_root = ::geteuid() == 0;   // root writes anyway; the refusal below still holds
    if (!as_root) {
        EXPECT_FALSE(replace_file(path, "new", &error));
        EXPECT_FALSE(error.empty());
    }
    ::chmod(dir.c_str(), 0700);
    // A path in a folder that does not exist fails the same way.
    error.clear();
    EXPECT_FALSE(replace_file(join_path(dir, "missing/inner.txt"), "x", &error));
    EXPECT_NE(error.find("cannot write"), std::string::npos);
    // Renaming over a folder fails after the temporary was written: it is removed.
    ASSERT_EQ(::mkdir(join_path(dir, "a-folder").c_str(), 0700), 0);
    EXPECT_FALSE(replace_file(join_path(dir, "a-folder"), "x", &error));
    std::string back;
    ASSERT_TRUE(read_file(path, back, 100));
    if (!as_root) {
        EXPECT_EQ(back, "old contents");
    }
    EXPECT_EQ(list_folder(dir, "*.tmp*"), std::vector<std::string>{});
}

TEST(Files, ReadingIsBounded) {
    const std::string dir = temp_dir();
    const std::string path = join_path(dir, "big");
    ASSERT_TRUE(replace_file(path, std::string(5000, 'a')));
    std::string back = "stale";
    std::string error;
    EXPECT_FALSE(read_file(path, back, 4999, &error));
    EXPECT_TRUE(back.empty());
    EXPECT_TRUE(read_file(path, back, 5000));
    EXPECT_FALSE(read_file(join_path(dir, "none"), back, 10, &error));
}

TEST(Files, PatternsMatchLikeAFileChooserFilter) {
    struct Case { const char* pattern; const char* name; bool match; };
    const Case cases[] = {
        {"*.prgm", "loan.prgm", true},   {"*.prgm", "loan.PRGM", true},
        {"*.prgm", "loan.prgm.bak", false}, {"*.state", "a.state", true},
        {"?.txt", "a.txt", true},        {"?.txt", "ab.txt", false},
        {"*", "", true},                 {"a*b*c", "aXXbYYc", true},
        {"a*b*c", "aXXbYY", false},      {"constants.const", "Constants.Const", true},
        {"**x", "abx", true},            {"", "a", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pattern_matches(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST(Files, UserFoldersAreCreatedUnderTheOverride) {
    const std::string dir = temp_dir();
    set_data_dir_override(join_path(dir, "home"));
    std::string error;
    const std::string settings = user_folder(UserFolder::Settings, &error);
    ASSERT_FALSE(settings.empty()) << error;
    EXPECT_EQ(settings, join_path(dir, "home/settings"));
    const std::string programs = user_folder(UserFolder::Programs, &error);
    EXPECT_EQ(programs, join_path(dir, "home/programs"));
    struct stat st;
    EXPECT_EQ(::stat(programs.c_str(), &st), 0);
    // A file standing where a folder should be is refused.
    ASSERT_FALSE(user_folder(UserFolder::Data, &error).empty()) << error;
    ASSERT_TRUE(replace_file(join_path(dir, "home/data/blocked"), "x"));
    EXPECT_TRUE(user_subfolder(UserFolder::Data, "blocked", &error).empty());
    EXPECT_FALSE(error.empty());
    set_data_dir_override("");
}

TEST(Png, WrittenPicturesReadBackScaled) {
    Surface s(3, 2);
    s.set(0, 0, rgb(255, 0, 0));
    s.set(2, 1, rgb(0, 0, 255));
    const std::string path = join_path(temp_dir(), "shot.png");
    std::string error;
    ASSERT_TRUE(write_png(s, path, 3, &error)) << error;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    ASSERT_EQ(image.width, 9u);
    ASSERT_EQ(image.height, 6u);
    auto at = [&](int x, int y) {
        const std::uint8_t* p = &pixels[3 * (y * 9 + x)];
        return rgb(p[0], p[1], p[2]);
    };
    EXPECT_EQ(at(2, 2), rgb(255, 0, 0));
    EXPECT_EQ(at(3, 2), COLOUR_WHITE);
    EXPECT_EQ(at(8, 5), rgb(0, 0, 255));
    EXPECT_EQ(at(6, 3), rgb(0, 0, 255));
    EXPECT_FALSE(write_png(Surface(), path, 1, &error));
}

}  // namespace
}  // namespace qx
