// Command-line splitting, upper-casing, the run-mode table and the start-up of
// each mode on fakes.
#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/Program.h"
#include "common/AsciiText.h"
#include "common/Errors.h"
#include "fakes/FakeServices.h"

#include <functional>
#include <new>
#include <stdexcept>

using namespace lumivane;
using namespace lumivane::test;

TEST(CommandLineSplit, SeparatorsQuotesAndEmptyPairs) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\Lumivane.scr\" /s"), (V{"C:\\Program Files\\Lumivane.scr", "/s"}));
    EXPECT_EQ(SplitCommandLine("prog\t\t/p   2884 \r\n"), (V{"prog", "/p", "2884"}));
    EXPECT_EQ(SplitCommandLine("prog \"\" /s"), (V{"prog", "/s"}));      // empty pair skipped, not an argument
    EXPECT_EQ(SplitCommandLine("prog \"\"\"\" /s"), (V{"prog", "/s"}));  // two empty pairs
    EXPECT_EQ(SplitCommandLine("prog a\"b c\"d"), (V{"prog", "ab cd"})); // quotes drop, blanks inside stay
    EXPECT_EQ(SplitCommandLine("prog \"unterminated x"), (V{"prog", "unterminated x"}));
    EXPECT_EQ(SplitCommandLine("prog \x01/c"), (V{"prog", "/c"})); // code 1 separates
    EXPECT_EQ(SplitCommandLine(""), V{});
    EXPECT_EQ(SplitCommandLine("prog /\xE9t\xE9"), (V{"prog", "/\xE9t\xE9"})); // bytes above 127 belong to pieces
}

TEST(CommandLineSplit, UpperCasingTouchesOnlyAsciiLetters) {
    EXPECT_EQ(UpperAscii("/p 0xb44 \xe9\xe0z"), "/P 0XB44 \xe9\xe0Z");
    Arguments a = ReadArguments("x.scr /p $b44 extra");
    EXPECT_EQ(a.first, "/P");
    EXPECT_EQ(a.second, "$B44");
    Arguments none = ReadArguments("x.scr");
    EXPECT_EQ(none.first, "");
    EXPECT_EQ(none.second, "");
}

TEST(RunModeChoice, OnlyTheFirstOneOrTwoCharactersCount) {
    struct Case {
        const char* typed;
        RunMode mode;
    };
    const Case cases[] = {
        {"", RunMode::Configure},         {"/c", RunMode::Configure}, {"-C", RunMode::Configure},
        {"/c:2884", RunMode::Configure},  {"c", RunMode::Configure},  {"Config", RunMode::Configure},
        {"C:\\temp", RunMode::Configure}, {"/p", RunMode::Preview},   {"-P", RunMode::Preview},
        {"p", RunMode::Preview},          {"/a", RunMode::Password},  {"-a", RunMode::Password},
        {"Apple", RunMode::Password},     {"/s", RunMode::Saver},     {"/S", RunMode::Saver},
        {"-s", RunMode::Saver},           {"s", RunMode::Saver},      {"/x", RunMode::Saver},
        {"Hello", RunMode::Saver},        {"/", RunMode::Saver},      {"\\c", RunMode::Saver},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseRunMode(UpperAscii(c.typed)), c.mode) << c.typed;
}

namespace {

class RecordingStartup : public Startup {
public:
    FakeDialogs dialogs;
    FakeSemaphore semaphore;
    std::vector<std::string> steps;
    std::intptr_t previewHandle = 0;
    std::function<void()> onRun;
    Dialogs& GetDialogs() override { return dialogs; }
    Semaphore& GetSemaphore() override { return semaphore; }
    void InitApplication() override { steps.push_back("init"); }
    void SetTitle(const std::string& title) override { steps.push_back("title:" + title); }
    std::string ModuleName() override { return "Lumivane.scr"; }
    void DrawPreview(std::intptr_t handle) override {
        previewHandle = handle;
        steps.push_back("preview");
    }
    void RunConfigure() override {
        steps.push_back("configure");
        if (onRun)
            onRun();
    }
    void RunSaver() override {
        steps.push_back("saver");
        if (onRun)
            onRun();
    }
};

} // namespace

TEST(StartUp, PasswordShowsOnlyItsMessage) {
    RecordingStartup s;
    EXPECT_EQ(RunProgram("Lumivane.scr /a", s), 0);
    EXPECT_TRUE(s.steps.empty()); // not even application initialisation
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_EQ(s.dialogs.boxes[0],
              (Box{"Information", "This screensaver doesnot support password in Windows9X.", BoxIcon::Information}));
    EXPECT_TRUE(s.semaphore.held.empty());
}

TEST(StartUp, PreviewHandleDecimalAndHex) {
    for (const char* line : {"x /p 2884", "x /p $B44", "x /p 0xb44", "x P \"  2884\""}) {
        RecordingStartup s;
        EXPECT_EQ(RunProgram(line, s), 0) << line;
        EXPECT_EQ(s.previewHandle, 2884) << line;
        EXPECT_EQ(s.steps, (std::vector<std::string>{"init", "preview"}));
    }
}

TEST(StartUp, PreviewHandleThatIsNoNumberEndsWithApplicationError) {
    for (const auto& [line, shown] :
         std::vector<std::pair<std::string, std::string>>{{"x /p 2884x", "2884X"}, {"x /p", ""}, {"x /p:2884", ""}}) {
        RecordingStartup s;
        EXPECT_EQ(RunProgram(line, s), 1) << line;
        ASSERT_EQ(s.dialogs.boxes.size(), 1u);
        const Box& box = s.dialogs.boxes[0];
        EXPECT_EQ(box.caption, "Application Error");
        EXPECT_EQ(box.icon, BoxIcon::Error);
        EXPECT_EQ(box.text.rfind("Exception EConvertError in module Lumivane.scr at ", 0), 0u) << box.text;
        const std::string tail = ".\r\n'" + shown + "' is not a valid integer value.\r\n";
        EXPECT_EQ(box.text.substr(box.text.size() - tail.size()), tail);
        EXPECT_EQ(std::count(s.steps.begin(), s.steps.end(), "preview"), 0);
    }
}

TEST(StartUp, ConfigureSetsTheTitleAndIgnoresTheHostHandle) {
    RecordingStartup s;
    EXPECT_EQ(RunProgram("x /c:2884", s), 0);
    EXPECT_EQ(s.steps, (std::vector<std::string>{"init", "title:Lumivane Standard V1.5 Configuration", "configure"}));
    RecordingStartup none;
    EXPECT_EQ(RunProgram("x", none), 0);
    EXPECT_EQ(none.steps.back(), "configure");
}

TEST(StartUp, SecondSaverEndsAtOnceAndAFailedMarkerStillRuns) {
    RecordingStartup s;
    EXPECT_EQ(RunProgram("x /s", s), 0);
    EXPECT_EQ(RunProgram("x /S", s), 0);
    EXPECT_EQ(std::count(s.steps.begin(), s.steps.end(), "saver"), 1);
    EXPECT_TRUE(s.dialogs.boxes.empty());

    RecordingStartup failing;
    failing.semaphore.fail = true;
    EXPECT_EQ(RunProgram("x /s", failing), 0);
    EXPECT_EQ(failing.steps.back(), "saver");
}

// Whatever is thrown, one of the program's errors or not, is reported by the
// catch point it reaches and goes no further.
struct Thrown {
    std::function<void()> raise;
    std::string className;
    std::string boxText;
};

const Thrown kThrown[] = {
    {[] { throw EOleSysError("Class not registered"); }, "EOleSysError", "Class not registered."},
    {[] { throw std::bad_alloc(); }, "EOutOfMemory", "Out of memory."},
    {[] { throw std::length_error("vector::reserve"); }, "Exception", "vector::reserve."},
    {[] { throw 42; }, "Exception", "Unknown error."},
};

TEST(StartUp, AnyErrorBuildingAWindowReachesTheProcessHandler) {
    for (const Thrown& thrown : kThrown) {
        RecordingStartup s;
        s.onRun = thrown.raise;
        EXPECT_EQ(RunProgram("x /s", s), 1);
        ASSERT_EQ(s.dialogs.boxes.size(), 1u);
        EXPECT_EQ(s.dialogs.boxes[0].caption, "Application Error");
        const std::string& text = s.dialogs.boxes[0].text;
        EXPECT_EQ(text.rfind("Exception " + thrown.className + " in module Lumivane.scr at ", 0), 0u) << text;
        EXPECT_EQ(text.substr(text.find("\r\n")), "\r\n" + thrown.boxText + "\r\n");
    }
}

TEST(HandlerErrorText, AnyErrorReadsAsItsMessageWithItsPeriod) {
    for (const Thrown& thrown : kThrown) {
        try {
            thrown.raise();
            ADD_FAILURE() << thrown.className;
        } catch (...) {
            EXPECT_EQ(HandlerErrorText(), thrown.boxText) << thrown.className;
        }
    }
}
