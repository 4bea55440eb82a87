// The program as a user meets it outside the build: a maze file named on the
// command line, --help and bad options without a display, an install (the
// program from an empty folder, its desktop entry and manual pages) and the
// Debian package.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "fixtures.h"
#include "screen.h"
#include "tool_run.h"

using namespace e2e;
using proc::TempDir;
namespace fs = std::filesystem;

namespace {

// Two mazes told apart by the wall the walker faces at the start.
const char kRedAhead[] =
    "ccccc\n"
    "c*  r\n"
    "ccccc\n";
const char kGreenAhead[] =
    "ccccc\n"
    "c*  g\n"
    "ccccc\n";

std::string quoted(const std::string& s)
{
    return "'" + s + "'";
}

bool toolInstalled(const std::string& name)
{
    return runShell("command -v " + name).code == 0;
}

// `cmake --install` of this build into prefix.
void installInto(const std::string& prefix)
{
    ASSERT_FALSE(prefix.empty()) << "no temporary folder to install into";
    ToolRun r = runShell(quoted(CMAKE_COMMAND) + " --install " + quoted(MAZE_BUILD_DIR) + " --prefix " + quoted(prefix));
    ASSERT_EQ(r.code, 0) << r.out << r.err;
}

TEST(CommandLine, AMazeFileOperandOpensThatMazeOnceTheToolkitHasTakenItsOptions)
{
    Files files = mazeFiles(kRedAhead);  // maze1.dat, which must not be read
    files["mazes/other.dat"] = kGreenAhead;
    Program maze(MAZE_BINARY, {"-geometry", "500x500", "mazes/other.dat"}, files);
    ASSERT_TRUE(maze.start());
    Window w = findWindow(maze);
    ASSERT_NE(w, 0u) << maze.describe();
    Image shot;
    ASSERT_TRUE(waitUntilStable(w, &shot)) << maze.describe();
    EXPECT_EQ(str(shot.at(shot.width / 2, shot.height / 2)), str(cellColour('g')))
        << saveDebugImage(shot, "operand");
    EXPECT_EQ(maze.out(), "load succesful\n");
    // Played all the same, with a warning.
    EXPECT_EQ(maze.err(), "maze: mazes/other.dat: no exit (\"x\")\n");
}

// Sizes past the screen are capped with a note, however the toolkit would
// have read them (it keeps 16 or 32 bits: 70000 became 4464, 4294967297 1).
TEST(CommandLine, TheWindowSizeComesFromAGeometrySizeOrFullscreenElseIs500By500)
{
    struct Case {
        std::vector<std::string> args;
        int width, height;
        const char* note;  // what stderr starts with, or null for nothing
    } cases[] = {
        {{"-geometry", "300x200"}, 300, 200, nullptr},
        {{"-geometry", "+10+20"}, 500, 500, nullptr},
        {{"--fullscreen"}, 1024, 768, nullptr},  // the harness's screen
        {{"-geometry", "32767x32767"}, 1024, 768, "maze: -geometry 32767x32767 is more than the screen (1024x768)"},
        {{"-geometry", "4294967297x4294967297"}, 1024, 768,
         "maze: -geometry 4294967297x4294967297 is more than the screen (1024x768)"},
        {{"-geometry", "70000x10+0+0"}, 1024, 10, "maze: -geometry 70000x10 is more than the screen (1024x768)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        Program maze(MAZE_BINARY, c.args, mazeFiles(kSmallMaze));
        ASSERT_TRUE(maze.start());
        Window w = findWindow(maze);
        ASSERT_NE(w, 0u) << maze.describe();
        // --fullscreen resizes the window once it is up.
        int width = 0, height = 0;
        EXPECT_TRUE(x::waitFor(w, kWaitTimeout, [&] {
            return windowAlive(w, &width, &height) && width == c.width && height == c.height;
        })) << width << "x" << height << "\n" << maze.describe();
        // The first frame rewrites the title; the maze is read by then.
        ASSERT_TRUE(waitForTitle(w, [](const std::string& t) { return t != "Maze: "; })) << maze.describe();
        EXPECT_EQ(maze.out(), "load succesful\n");
        const std::string err = maze.err();
        if (c.note) {
            EXPECT_EQ(err.rfind(c.note, 0), 0u) << err;
            EXPECT_EQ(err.find('\n'), err.size() - 1) << err;  // one line
            EXPECT_NE(err.find(": the window is " + std::to_string(c.width) + "x" + std::to_string(c.height)),
                      std::string::npos) << err;
        } else {
            EXPECT_EQ(err, "");
        }
    }
}

TEST(CommandLine, AMissingMazeFileIsNamedInTheLineAndEndsWithCodeOne)
{
    // An empty operand is a file that cannot be opened too, not maze1.dat.
    for (const std::string operand : {"mazes/none.dat", ""}) {
        SCOPED_TRACE("'" + operand + "'");
        Program maze(MAZE_BINARY, {operand}, mazeFiles(kRedAhead));
        ASSERT_TRUE(maze.start());
        ExitStatus st;
        ASSERT_TRUE(maze.waitExit(kExitTimeout, &st)) << maze.describe();
        EXPECT_TRUE(st.exited) << st.str();
        EXPECT_EQ(st.code, 1) << maze.describe();
        EXPECT_EQ(maze.out(), operand + " can not be opened. Exiting program.\n");
        EXPECT_EQ(maze.err(), "");
    }
}

TEST(CommandLine, HelpVersionAndUnknownOptionsAreAnsweredWithoutADisplay)
{
    struct Run {
        ExitStatus st;
        std::string out, err;
    };
    auto runWithoutDisplay = [](const std::string& arg, Run* r) {
        Program maze("/usr/bin/env", {"-u", "DISPLAY", MAZE_BINARY, arg});
        ASSERT_TRUE(maze.start());
        ASSERT_TRUE(maze.waitExit(kExitTimeout, &r->st)) << maze.describe();
        r->out = maze.out();
        r->err = maze.err();
    };

    Run help;
    ASSERT_NO_FATAL_FAILURE(runWithoutDisplay("--help", &help));
    EXPECT_TRUE(help.st.exited && help.st.code == 0) << help.st.str() << "\n" << help.err;
    EXPECT_EQ(help.out.rfind("usage: maze ", 0), 0u) << help.out;
    for (const char* topic : {"keys:", "files:", "exit codes:"})
        EXPECT_NE(help.out.find(topic), std::string::npos) << topic << " missing from\n" << help.out;
    EXPECT_EQ(help.err, "");
    // The usage lines, up to the first blank line, name every option the help lists.
    const std::string usage = help.out.substr(0, help.out.find("\n\n") + 1);
    const size_t options = help.out.find("\noptions:\n");
    ASSERT_NE(options, std::string::npos) << help.out;
    std::smatch option;
    std::string rest = help.out.substr(options, help.out.find("\n\n", options) - options);
    int listed = 0;
    for (; std::regex_search(rest, option, std::regex("\n  (--[a-z-]+)")); rest = option.suffix(), ++listed)
        EXPECT_NE(usage.find(option[1].str()), std::string::npos) << option[1] << " missing from\n" << usage;
    EXPECT_GE(listed, 3);

    Run version;
    ASSERT_NO_FATAL_FAILURE(runWithoutDisplay("--version", &version));
    EXPECT_TRUE(version.st.exited && version.st.code == 0) << version.st.str() << "\n" << version.err;
    EXPECT_TRUE(std::regex_match(version.out, std::regex("maze [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << version.out;

    Run unknown;
    ASSERT_NO_FATAL_FAILURE(runWithoutDisplay("--frobnicate", &unknown));
    EXPECT_TRUE(unknown.st.exited && unknown.st.code == 2) << unknown.st.str() << "\n" << unknown.err;
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err, "maze: unknown option '--frobnicate'\n" + usage);
}

// The installed program at `path`, started in an empty folder, reads the
// install's data and shows what the build's program shows in a folder
// holding the shipped maze and textures.
void expectTheShippedMazeFromAnEmptyFolder(const std::string& path)
{
    Image expected;
    {
        Files shipped;
        shipped["maze1.dat"] = readFile(MAZE_BUILD_DIR "/run/maze1.dat");
        for (const char* name : g_textureFiles)
            shipped[name] = readFile(std::string(MAZE_BUILD_DIR "/run/") + name);
        for (const auto& [name, bytes] : shipped)
            ASSERT_FALSE(bytes.empty()) << name << " is missing from the build's run folder";
        Program maze(MAZE_BINARY, {}, shipped);
        ASSERT_TRUE(maze.start());
        Window w = findWindow(maze);
        ASSERT_NE(w, 0u) << maze.describe();
        ASSERT_TRUE(waitUntilStable(w, &expected)) << maze.describe();
    }

    Program installed(path);  // no files: an empty folder
    ASSERT_TRUE(installed.start());
    Window w = findWindow(installed);
    ASSERT_NE(w, 0u) << installed.describe();
    Image shot;
    ASSERT_TRUE(waitUntilStable(w, &shot)) << installed.describe();
    EXPECT_EQ(installed.out(), "load succesful\n");
    EXPECT_EQ(installed.err(), "");
    EXPECT_TRUE(shot == expected) << "installed: " << saveDebugImage(shot, "installed")
                                  << "\nbuild: " << saveDebugImage(expected, "build");
}

TEST(Install, TheInstalledMazeStartedInAnEmptyFolderShowsTheShippedMaze)
{
    TempDir prefix;
    ASSERT_NO_FATAL_FAILURE(installInto(prefix.path));
    EXPECT_TRUE(fs::is_regular_file(prefix.path + "/bin/mazetool"));
    expectTheShippedMazeFromAnEmptyFolder(prefix.path + "/bin/maze");
}

TEST(Install, TheDesktopEntryPassesDesktopFileValidate)
{
    if (!toolInstalled("desktop-file-validate"))
        GTEST_SKIP() << "desktop-file-validate is not installed (scripts/test installs it)";
    TempDir prefix;
    ASSERT_NO_FATAL_FAILURE(installInto(prefix.path));
    const std::string entry = prefix.path + "/share/applications/maze.desktop";
    ASSERT_TRUE(fs::is_regular_file(entry));
    ToolRun r = runShell("desktop-file-validate " + quoted(entry));
    EXPECT_EQ(r.code, 0) << r.out << r.err;
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_NE(readFile(entry).find("\nCategories=Game;"), std::string::npos);
}

TEST(Install, TheManualPagesRenderWithoutWarnings)
{
    if (!toolInstalled("man"))
        GTEST_SKIP() << "man is not installed (scripts/test installs it)";
    TempDir prefix;
    ASSERT_NO_FATAL_FAILURE(installInto(prefix.path));
    struct Page {
        const char* path;
        const char* title;
    } pages[] = {{"/share/man/man6/maze.6.gz", "MAZE(6)"}, {"/share/man/man1/mazetool.1.gz", "MAZETOOL(1)"}};
    for (const Page& page : pages) {
        SCOPED_TRACE(page.path);
        ToolRun r = runShell("MANWIDTH=80 man --warnings -l " + quoted(prefix.path + page.path));
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.rfind(page.title, 0), 0u) << r.out.substr(0, 200);
        EXPECT_NE(r.out.find("\nNAME\n"), std::string::npos) << r.out.substr(0, 200);
    }
}

// The installed screensaver at `path`, started in an empty folder on a window
// of the test's, draws the walk in the install's textures: sky and walls, no
// black left, and it keeps going.
void expectTheInstalledScreensaverDraws(const std::string& path)
{
    Window w = createTestWindow(160, 120);
    ASSERT_NE(w, 0u);
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", w);
    Program saver(path, {"--window-id", id});  // no files: an empty folder
    ASSERT_TRUE(saver.start());
    Image shot;
    EXPECT_TRUE(x::waitFor(w, kWaitTimeout, [&] {
        shot = screenshot(w);
        int sky = 0, black = 0;
        for (Rgb p : shot.pixels) {
            sky += p.b == 255 && p.r >= 127 && p.r <= 128;
            black += p == Rgb{};
        }
        return !shot.pixels.empty() && sky > 0 && black == 0 && sky < int(shot.pixels.size());
    })) << saveDebugImage(shot, "screensaver") << "\n" << saver.describe();
    EXPECT_TRUE(saver.running()) << saver.describe();
    EXPECT_EQ(saver.err(), "");
    destroyWindow(w);
}

// The screensaver's four files under `root` (an install prefix, or an
// extracted package's usr/): its settings' XML is well formed and names it
// (when xmllint is there).
void expectTheScreensaverFiles(const std::string& root)
{
    for (const char* file : {"/libexec/xscreensaver/mazewalk", "/share/xscreensaver/config/mazewalk.xml",
                             "/share/applications/screensavers/mazewalk.desktop", "/share/man/man6/mazewalk.6x.gz"})
        EXPECT_TRUE(fs::is_regular_file(root + file)) << file;
    if (!toolInstalled("xmllint"))  // scripts/test installs it (libxml2-utils)
        return;
    const std::string xml = quoted(root + "/share/xscreensaver/config/mazewalk.xml");
    ToolRun r = runShell("xmllint --noout " + xml);
    EXPECT_EQ(r.code, 0) << r.out << r.err;
    EXPECT_EQ(r.err, "");
    // xmllint ends an --xpath answer with a line feed or not, by version.
    r = runShell("xmllint --xpath 'string(/screensaver/@name)' " + xml + "; echo");
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "mazewalk");
    r = runShell("xmllint --xpath 'count(/screensaver/command[@arg=\"--root\"])' " + xml + "; echo");
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "1");
}

TEST(Install, TheScreensaverGoesWhereDaemonsLookAndReadsTheInstallsTextures)
{
    TempDir prefix;
    ASSERT_NO_FATAL_FAILURE(installInto(prefix.path));
    expectTheInstalledScreensaverDraws(prefix.path + "/libexec/xscreensaver/mazewalk");
    if (toolInstalled("desktop-file-validate")) {
        ToolRun r = runShell("desktop-file-validate --no-hints " +
                             quoted(prefix.path + "/share/applications/screensavers/mazewalk.desktop"));
        EXPECT_EQ(r.code, 0) << r.out << r.err;
        EXPECT_EQ(r.out + r.err, "");
    }
    if (toolInstalled("man")) {
        ToolRun r = runShell("MANWIDTH=80 man --warnings -l " + quoted(prefix.path + "/share/man/man6/mazewalk.6x.gz"));
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.rfind("MAZEWALK(6x)", 0), 0u) << r.out.substr(0, 200);
    }
    expectTheScreensaverFiles(prefix.path);
}

// Who made it and under which licence reads the same in every file that says it.
TEST(Install, TheMaintainerTheIdAndTheLicenceAgreeEverywhere)
{
    TempDir prefix;
    ASSERT_NO_FATAL_FAILURE(installInto(prefix.path));
    const std::string share = prefix.path + "/share", source = MAZE_ASSETS_DIR "/..";
    const std::string metainfo = readFile(share + "/metainfo/" MAZE_APP_ID ".metainfo.xml");
    EXPECT_NE(metainfo.find("<id>" MAZE_APP_ID "</id>"), std::string::npos) << metainfo;
    EXPECT_NE(metainfo.find("<project_license>MIT</project_license>"), std::string::npos) << metainfo;
    const std::string maintainer = MAZE_MAINTAINER;
    const std::string name = maintainer.substr(0, maintainer.find(" <")), contact = maintainer.substr(name.size() + 2);
    EXPECT_NE(metainfo.find("<developer_name>" + name + "</developer_name>"), std::string::npos) << metainfo;
    EXPECT_NE(metainfo.find("<update_contact>" + contact.substr(0, contact.size() - 1) + "</update_contact>"),
              std::string::npos) << metainfo;
    EXPECT_EQ(maintainer.find("example."), std::string::npos);
    EXPECT_EQ(std::string(MAZE_APP_ID).find("example."), std::string::npos);

    const struct {
        std::string file, says;
    } claims[] = {
        {"zcat " + quoted(share + "/doc/maze/changelog.gz"), " -- " + maintainer + "  "},
        {"cat " + quoted(share + "/doc/maze/copyright"), "Upstream-Contact: " + maintainer + "\n"},
        {"cat " + quoted(share + "/doc/maze/copyright"), "\nLicense: MIT\n"},
        {"zcat " + quoted(share + "/man/man6/maze.6.gz"), "\n" + maintainer + ".\n.SH COPYRIGHT\nMIT licence"},
        {"zcat " + quoted(share + "/man/man1/mazetool.1.gz"), "\n" + maintainer + ".\n.SH COPYRIGHT\nMIT licence"},
        {"cat " + quoted(source + "/package.json"), "\"license\": \"MIT\""},
        {"head -1 " + quoted(source + "/LICENSE"), "MIT License\n"},
    };
    for (const auto& c : claims) {
        const ToolRun r = runShell(c.file);
        EXPECT_EQ(r.code, 0) << c.file << ": " << r.err;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << c.file << " does not say " << c.says;
    }
}

// Every file the package installs, the programs in Debian's folder for games;
// the shipped levels come on top, in usr/share/maze/levels/.
const char* const kPackageFiles[] = {
    "usr/games/maze",
    "usr/games/mazetool",
    "usr/libexec/xscreensaver/mazewalk",
    "usr/share/applications/maze.desktop",
    "usr/share/applications/screensavers/mazewalk.desktop",
    "usr/share/doc/maze/changelog.gz",
    "usr/share/doc/maze/copyright",
    "usr/share/icons/hicolor/128x128/apps/maze.png",
    "usr/share/icons/hicolor/256x256/apps/maze.png",
    "usr/share/icons/hicolor/48x48/apps/maze.png",
    "usr/share/icons/hicolor/64x64/apps/maze.png",
    "usr/share/man/man1/mazetool.1.gz",
    "usr/share/man/man6/maze.6.gz",
    "usr/share/man/man6/mazewalk.6x.gz",
    "usr/share/maze/RustyBricksGrate.bmp",
    "usr/share/maze/SteelBoxFan.bmp",
    "usr/share/maze/StoneWallImproved.bmp",
    "usr/share/maze/maze1.dat",
    "usr/share/maze/metal004.bmp",
    "usr/share/maze/pipes6lights.bmp",
    "usr/share/maze/pipeslights.bmp",
    "usr/share/maze/pipeslightswires.bmp",
    "usr/share/metainfo/" MAZE_APP_ID ".metainfo.xml",
    "usr/share/xscreensaver/config/mazewalk.xml",
};

TEST(Package, TheDebianPackageHoldsTheInstallAndRunsFromAnExtractedRoot)
{
    for (const char* tool : {"dpkg-deb", "dpkg-shlibdeps"})
        if (!toolInstalled(tool))
            GTEST_SKIP() << tool << " is not installed (scripts/test installs dpkg-dev)";
    TempDir temp;
    const std::string out = temp.path;
    ASSERT_FALSE(out.empty());
    ToolRun r = runShell(quoted(CPACK_COMMAND) + " --config " + quoted(MAZE_BUILD_DIR "/CPackConfig.cmake") +
                         " -B " + quoted(out));
    ASSERT_EQ(r.code, 0) << r.out << r.err;

    // maze_<version>_<architecture>.deb, the version the program prints.
    r = runShell(quoted(MAZE_BINARY) + " --version; dpkg --print-architecture");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(r.out, m, std::regex("maze ([0-9.]+)\n(.+)\n"))) << r.out << r.err;
    const std::string deb = out + "/maze_" + m[1].str() + "_" + m[2].str() + ".deb";
    ASSERT_TRUE(fs::is_regular_file(deb)) << deb << " missing; cpack made\n" << runShell("ls " + quoted(out)).out;

    r = runShell("dpkg-deb -c " + quoted(deb) + " | awk '!/^d/ { print substr($6, 3) }' | LC_ALL=C sort");
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<std::string> files(std::begin(kPackageFiles), std::end(kPackageFiles));
    for (const auto& level : fs::directory_iterator(MAZE_ASSETS_DIR "/levels"))
        files.push_back("usr/share/maze/levels/" + level.path().filename().string());
    ASSERT_GE(files.size(), std::size(kPackageFiles) + 20);
    std::sort(files.begin(), files.end());  // bytewise, as LC_ALL=C sort orders them
    std::string expected;
    for (const std::string& file : files)
        expected += file + "\n";
    EXPECT_EQ(r.out, expected);
    r = runShell("dpkg-deb -f " + quoted(deb) + " Maintainer");
    EXPECT_EQ(r.out, MAZE_MAINTAINER "\n");
    r = runShell("dpkg-deb -f " + quoted(deb) + " Depends");
    EXPECT_NE(r.out.find("libglut"), std::string::npos) << "Depends: " << r.out << r.err;

    const std::string root = out + "/root";
    r = runShell("dpkg-deb -x " + quoted(deb) + " " + quoted(root));
    ASSERT_EQ(r.code, 0) << r.err;
    expectTheShippedMazeFromAnEmptyFolder(root + "/usr/games/maze");
    expectTheInstalledScreensaverDraws(root + "/usr/libexec/xscreensaver/mazewalk");
    r = runShell("dpkg-deb -f " + quoted(deb) + " Suggests");
    EXPECT_EQ(r.out, "xscreensaver\n") << r.err;

    if (toolInstalled("appstreamcli")) {
        r = runShell("appstreamcli validate --no-net " + quoted(root + "/usr/share/metainfo/" MAZE_APP_ID ".metainfo.xml"));
        EXPECT_EQ(r.code, 0) << r.out << r.err;
    }
    expectTheScreensaverFiles(root + "/usr");
    if (toolInstalled("lintian")) {
        r = runShell("lintian --fail-on error " + quoted(deb));
        EXPECT_EQ(r.code, 0) << r.out << r.err;
    }
}

}  // namespace
