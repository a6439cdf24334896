// Runs the real folioscope-cli and looks at its exit status, output and CSV file.
#include <spawn.h>
#include <sys/wait.h>
#include <fcntl.h>

#include <gtest/gtest.h>

#include "TempFolder.h"

extern char** environ;

namespace {

using folio::testing::TempFolder;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

Outcome RunCli(const TempFolder& scratch, const std::vector<std::string>& args)
{
    std::vector<std::string> words = {FOLIOSCOPE_CLI};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, scratch.Path("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, scratch.Path("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    Outcome outcome;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int wait = 0;
        ::waitpid(pid, &wait, 0);
        outcome.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    outcome.out = scratch.Read("stdout");
    outcome.err = scratch.Read("stderr");
    return outcome;
}

// A 2 x 2 bitmap, 24 bits per pixel, 2835 pixels per metre (72 dpi).
std::string TinyBitmap()
{
    const unsigned char bytes[70] = {
        'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                  // file header
        40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,    // info header
        16, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0, // two padded rows
    };
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

TEST(FolioscopeCli, AWrongArgumentCountPrintsTheUsageAndGivesTwo)
{
    TempFolder scratch;
    const std::string usage = "The command line arguments for this application need to be specified as:\n"
                              "Folder to run -   example:    \"c:\\images\\\"\n"
                              "File Filter -   example:           \"*.TIF\"\n"
                              "CSV Filename -   example:    \"c:\\report.txt\"\n";
    const std::vector<std::vector<std::string>> counts = {{}, {"a"}, {"a", "b"}, {"a", "b", "c", "d"}};
    for (const auto& args : counts) {
        const Outcome outcome = RunCli(scratch, args);
        EXPECT_EQ(outcome.status, 2) << args.size();
        EXPECT_EQ(outcome.err, usage) << args.size();
        EXPECT_EQ(outcome.out, "") << args.size();
    }
}

TEST(FolioscopeCli, AppendsTheFolderRowsAndPrintsNothing)
{
    TempFolder scratch;
    TempFolder pictures;
    pictures.Write("tiny copy.bmp", TinyBitmap());
    pictures.Write("notes.txt", "not an image");
    pictures.Write("broken.bmp", "BM");
    scratch.Write("report.csv", "earlier\r\n");

    const Outcome outcome = RunCli(scratch, {pictures.Path(), "*.BMP", scratch.Path("report.csv")});

    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "");
    const std::string csv = scratch.Read("report.csv");
    EXPECT_TRUE(csv.starts_with("earlier\r\n\"tiny copy.bmp\",00002,00002,0072,0072,\"0.07 kb\","
                                "\"BMP Packaging\",\"24 bit color.\","))
        << csv;
    EXPECT_TRUE(csv.ends_with(",08,03\r\n")) << csv;
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2) << csv;
}

TEST(FolioscopeCli, FailuresGiveOneAndALineOfReason)
{
    TempFolder scratch;
    TempFolder pictures;
    struct Case {
        std::string folder;
        std::string csv;
    };
    const Case cases[] = {
        {pictures.Path("missing"), scratch.Path("report.csv")},
        {pictures.Path(), scratch.Path("no/such/folder/report.csv")},
        {pictures.Path(), scratch.Path()},
    };
    for (const Case& c : cases) {
        const Outcome outcome = RunCli(scratch, {c.folder, "*.*", c.csv});
        EXPECT_EQ(outcome.status, 1) << c.folder << " " << c.csv;
        EXPECT_TRUE(outcome.err.starts_with("folioscope-cli: ")) << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(scratch.Path("report.csv")));
}

} // namespace
