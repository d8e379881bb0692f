#include "appearance/NativeHintWindow.h"
#include "forms/HintApplication.h"
#include "forms/KVAboutFormLayout.h"
#include "forms/KVMainFormLayout.h"
#include "forms/KVSettingsFormLayout.h"

#include <gtest/gtest.h>

#include <map>

namespace kavrolt {
namespace {

TEST(HintTimings, ComeFromTheDoubleClickTime) {
    struct Case {
        unsigned doubleClickTime;
        HintTimings expected;
    };
    const Case cases[] = {
        {500, {500, 100, 5000}},
        {900, {900, 180, 9000}},
        {4, {4, 0, 40}}, // whole-number division
        {0, {0, 0, 0}},
        // t × 10 does not wrap round for a huge double-click time.
        {0xFFFFFFFFu, {INT_MAX, 858993459, INT_MAX}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HintTimingsFrom(c.doubleClickTime), c.expected) << c.doubleClickTime;
}

TEST(HintText, ShortAndLongHintsSplitAtTheFirstBar) {
    struct Case {
        std::u16string_view hint, shortHint, longHint;
    };
    const Case cases[] = {
        {u"Save|Saves the settings", u"Save", u"Saves the settings"},
        {u"Only one", u"Only one", u"Only one"},
        {u"a|b|c", u"a", u"b|c"},
        {u"|long only", u"", u"long only"},
        {u"short only|", u"short only", u""},
        {u"", u"", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortHint(c.hint), c.shortHint);
        EXPECT_EQ(LongHint(c.hint), c.longHint);
    }
}

TEST(HintText, TrimmingTakesU0000ToU0020FromBothEnds) {
    const std::u16string controls{u'\0', u'\t', u'\r', u'\n', u'\x1F', u' '};
    EXPECT_EQ(TrimHint(controls + u"a b" + controls), u"a b");
    EXPECT_EQ(TrimHint(controls), u"");
    // U+0021 and the no-break space are text.
    EXPECT_EQ(TrimHint(u"!x\u00A0"), u"!x\u00A0");
}

TEST(HintText, TheTooltipGoesWhenTheShortPartOfTheCurrentHintIsBlank) {
    struct Case {
        std::u16string_view currentHint;
        bool down;
    };
    const Case cases[] = {
        {u"", true},          {u" \t ", true}, {std::u16string_view(u"\0|x", 3), true},
        {u"  |tail", true},   {u"x", false},   {u"x|", false},
        {u" x |tail", false}, {u"|", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HintTakesTooltipDown(c.currentHint), c.down)
            << std::string(c.currentHint.begin(), c.currentHint.end());
}

TEST(HintText, LinesSplitAtCrLfPairsOnly) {
    using Lines = std::vector<std::u16string_view>;
    EXPECT_EQ(SplitHintLines(u"one\r\ntwo"), (Lines{u"one", u"two"}));
    EXPECT_EQ(SplitHintLines(u"lone\rcr\nand lf"), (Lines{u"lone\rcr\nand lf"}));
    EXPECT_EQ(SplitHintLines(u"a\r\n\r\nb\r\n"), (Lines{u"a", u"", u"b", u""}));
    EXPECT_EQ(SplitHintLines(u"\n\r"), (Lines{u"\n\r"}));
    EXPECT_EQ(SplitHintLines(u""), (Lines{u""}));
}

// Seven pixels a character, 13 high; lines that contain "?" cannot be measured.
std::optional<HintSize> FixedPitch(std::u16string_view line) {
    if (line.find(u'?') != std::u16string_view::npos)
        return std::nullopt;
    return HintSize{static_cast<int>(line.size()) * 7, 13};
}

TEST(MeasureHint, TheWidestLineByTheSumOfTheHeights) {
    EXPECT_EQ(MeasureHint(u"short\r\nthe longer one", FixedPitch), (HintSize{14 * 7, 26}));
    EXPECT_EQ(MeasureHint(u"one line", FixedPitch), (HintSize{8 * 7, 13}));
    // A lone LF is no line break: one line, measured as it is.
    EXPECT_EQ(MeasureHint(u"ab\ncd", FixedPitch), (HintSize{5 * 7, 13}));
    // A line that cannot be measured counts as 0 × 0.
    EXPECT_EQ(MeasureHint(u"what?\r\nok", FixedPitch), (HintSize{2 * 7, 13}));
    EXPECT_EQ(MeasureHint(u"?", FixedPitch), (HintSize{0, 0}));
}

TEST(PlaceTooltip, KeepsTheEstimatedTooltipOnTheMonitor) {
    const HintRect monitor{0, 0, 1280, 1024};
    const HintSize size{200, 40};
    struct Case {
        const char* what;
        HintPoint point;
        int pointerY;
        HintRect bounds;
        HintPoint expected;
    };
    const Case cases[] = {
        {"room enough", {100, 500}, 480, monitor, {100, 500}},
        {"one pixel short of the bottom edge", {100, 983}, 960, monitor, {100, 983}},
        {"reaching the bottom edge opens above the pointer", {100, 984}, 960, monitor, {100, 920}},
        {"past the bottom edge", {100, 1010}, 990, monitor, {100, 950}},
        {"one pixel short of the right edge", {1079, 500}, 480, monitor, {1079, 500}},
        {"reaching the right edge meets it", {1080, 500}, 480, monitor, {1080, 500}},
        {"past the right edge meets it", {1250, 500}, 480, monitor, {1080, 500}},
        {"bottom right corner", {1270, 1000}, 980, monitor, {1080, 940}},
        {"wider than the monitor starts at its left edge",
         {10, 500},
         480,
         {0, 0, 150, 1024},
         {0, 500}},
        {"above the pointer would leave the top edge", {100, 30}, 20, {0, 0, 1280, 60}, {100, 0}},
        // A monitor left of and above the primary one has negative coordinates.
        {"second monitor, right edge", {-50, -300}, -320, {-1280, -1024, 0, 0}, {-200, -300}},
        {"second monitor, bottom edge", {-600, -20}, -40, {-1280, -1024, 0, 0}, {-600, -80}},
        {"second monitor, left clamp", {-1300, -500}, -520, {-1280, -1024, 0, 0}, {-1280, -500}},
        {"second monitor, top clamp", {-600, -1000}, -1000, {-1280, -1024, 0, -990}, {-600, -1024}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaceTooltip(c.point, size, c.bounds, c.pointerY), c.expected) << c.what;
}

TEST(PlaceTooltip, TheEstimateAddsTwiceTheFrameOfAnEmptyText) {
    // The control grows an empty rectangle by its margins: 3 left, 1 top, 3 right, 2 bottom.
    EXPECT_EQ(EstimateTooltipSize({100, 26}, {-3, -1, 3, 2}), (HintSize{112, 32}));
    EXPECT_EQ(EstimateTooltipSize({100, 26}, {}), (HintSize{100, 26}));
}

// Records what the native side was asked to do.
class FakeTooltips final : public NativeTooltips {
public:
    struct Shown {
        std::u16string text;
        HintPoint point;
        bool alive = true;
    };
    class Tooltip final : public NativeTooltip {
    public:
        Tooltip(FakeTooltips& owner, std::size_t index) : owner_(owner), index_(index) {}
        ~Tooltip() override { owner_.shown[index_].alive = false; }
        bool Exists() const override { return owner_.shown[index_].alive; }

    private:
        FakeTooltips& owner_;
        std::size_t index_;
    };

    unsigned DoubleClickTime() override { return doubleClickTime; }
    std::optional<HintSize> MeasureLine(std::u16string_view line) override {
        return FixedPitch(line);
    }
    std::unique_ptr<NativeTooltip> ShowTooltip(std::u16string_view text, HintPoint point) override {
        ++attempts;
        if (failCreation)
            return nullptr;
        shown.push_back({std::u16string(text), point});
        return std::make_unique<Tooltip>(*this, shown.size() - 1);
    }
    int Alive() const {
        int alive = 0;
        for (const Shown& s : shown)
            alive += s.alive ? 1 : 0;
        return alive;
    }
    // The window disappears behind the program's back.
    void Vanish(std::size_t index) { shown[index].alive = false; }

    unsigned doubleClickTime = 500;
    bool failCreation = false;
    int attempts = 0;
    std::vector<Shown> shown;
};

// A timer and a pointer that the test moves by hand.
class FakeHost final : public HintHost {
public:
    void StartTimer(int milliseconds) override { timer = milliseconds; }
    void StopTimer() override { timer.reset(); }
    HintPoint CursorPos() override { return cursor; }
    int CursorHeight() override { return 21; }
    int ScreenWidth() override { return 1280; }

    // Lets the waiting time pass; false when no timer runs.
    bool Elapse(HintApplication& application) {
        if (!timer)
            return false;
        application.TimerElapsed();
        return true;
    }

    std::optional<int> timer;
    HintPoint cursor{300, 200};
};

class NativeHintWindowTest : public ::testing::Test {
protected:
    FakeHost host;
    FakeTooltips tooltips;
    HintApplication application{host};
};

TEST_F(NativeHintWindowTest, CreationSetsTheTimingsAndJoinsTheLiveList) {
    tooltips.doubleClickTime = 900;
    const std::size_t before = LiveHintWindows().size();
    {
        THintWindowFix first(application, tooltips);
        EXPECT_EQ(application.HintPause(), 900);
        EXPECT_EQ(application.HintShortPause(), 180);
        EXPECT_EQ(application.HintHidePause(), 9000);
        THintWindowFix second(application, tooltips);
        ASSERT_EQ(LiveHintWindows().size(), before + 2);
        EXPECT_EQ(LiveHintWindows()[before], &first);
        EXPECT_EQ(LiveHintWindows()[before + 1], &second);
    }
    EXPECT_EQ(LiveHintWindows().size(), before);
}

TEST_F(NativeHintWindowTest, CalcHintRectIsTheTextSizeWithoutMargin) {
    THintWindowFix window(application, tooltips);
    EXPECT_EQ(window.CalcHintRect(10, u"short\r\nthe longer one", nullptr),
              (HintRect{0, 0, 14 * 7, 26}));
    EXPECT_EQ(window.CalcHintRect(0, u"", nullptr), (HintRect{0, 0, 0, 13}));
}

TEST_F(NativeHintWindowTest, ActivateHintKeepsTheSameTextAndReplacesAnother) {
    THintWindowFix window(application, tooltips);
    window.ActivateHint({40, 50, 90, 63}, u"first");
    window.ActivateHint({70, 80, 120, 93}, u"first");
    ASSERT_EQ(tooltips.shown.size(), 1u);
    EXPECT_EQ(tooltips.shown[0].point, (HintPoint{40, 50}));
    EXPECT_TRUE(tooltips.shown[0].alive);
    EXPECT_EQ(window.Text(), u"first");

    window.ActivateHint({70, 80, 120, 93}, u"second");
    ASSERT_EQ(tooltips.shown.size(), 2u);
    EXPECT_FALSE(tooltips.shown[0].alive);
    EXPECT_TRUE(tooltips.shown[1].alive);
    EXPECT_EQ(tooltips.shown[1].text, u"second");
    EXPECT_EQ(tooltips.shown[1].point, (HintPoint{70, 80}));
    EXPECT_EQ(window.Text(), u"second");

    // The same text once the tooltip was hidden: a new tooltip.
    window.ReleaseHandle();
    EXPECT_EQ(tooltips.Alive(), 0);
    window.ActivateHint({70, 80, 120, 93}, u"second");
    ASSERT_EQ(tooltips.shown.size(), 3u);
    EXPECT_TRUE(tooltips.shown[2].alive);

    // Nor does a tooltip that vanished on its own count as up.
    tooltips.Vanish(2);
    window.ActivateHint({70, 80, 120, 93}, u"second");
    EXPECT_EQ(tooltips.shown.size(), 4u);
}

TEST_F(NativeHintWindowTest, AFailedTooltipLeavesNoneAndTheNextActivationTriesAgain) {
    THintWindowFix window(application, tooltips);
    tooltips.failCreation = true;
    window.ActivateHint({1, 2, 3, 4}, u"text");
    EXPECT_EQ(window.Text(), u"text");
    tooltips.failCreation = false;
    window.ActivateHint({1, 2, 3, 4}, u"text");
    EXPECT_EQ(tooltips.attempts, 2);
    EXPECT_EQ(tooltips.Alive(), 1);
}

TEST_F(NativeHintWindowTest, TheHandlerTakesTheTooltipDownWhenTheHintUnderThePointerEmpties) {
    THintWindowFix window(application, tooltips);
    application.SetHint(u"Save|Saves");
    window.ActivateHint({}, u"Save");
    application.SetHint(u"Other|Long");
    EXPECT_EQ(tooltips.Alive(), 1);
    application.SetHint(u" \t|only a long hint");
    EXPECT_EQ(tooltips.Alive(), 0);

    window.ActivateHint({}, u"Save");
    application.SetHint(u"");
    EXPECT_EQ(tooltips.Alive(), 0);
}

TEST_F(NativeHintWindowTest, DestructionGivesBackTheHandlerThatWasThere) {
    int oldCalls = 0;
    application.SetOnHint([&oldCalls] { ++oldCalls; });
    {
        THintWindowFix window(application, tooltips);
        window.ActivateHint({}, u"up");
        application.SetHint(u"x");
        application.SetHint(u"");
        // The old handler is not told while the hint window lives.
        EXPECT_EQ(oldCalls, 0);
        EXPECT_EQ(tooltips.Alive(), 0);
    }
    application.SetHint(u"after");
    EXPECT_EQ(oldCalls, 1);

    // Two hint windows one after the other hand the handler down and back.
    {
        THintWindowFix outer(application, tooltips);
        { THintWindowFix inner(application, tooltips); }
        outer.ActivateHint({}, u"up");
        application.SetHint(u"");
        EXPECT_EQ(tooltips.Alive(), 0);
    }
    application.SetHint(u"again");
    EXPECT_EQ(oldCalls, 2);
}

TEST_F(NativeHintWindowTest, HidingDestroysTheTooltipOfTheFirstLiveHintWindow) {
    InitNativeHintWindow(application, tooltips);
    // Hiding while no hint window exists does nothing.
    ASSERT_TRUE(LiveHintWindows().empty());
    application.HideHint();
    EXPECT_EQ(tooltips.attempts, 0);

    THintWindowFix first(application, tooltips);
    THintWindowFix second(application, tooltips);
    first.ActivateHint({}, u"first");
    second.ActivateHint({}, u"second");
    application.HideHint();
    EXPECT_FALSE(tooltips.shown[0].alive);
    EXPECT_TRUE(tooltips.shown[1].alive);
}

// The application's side: pauses, the shift below the pointer, hiding.
class HintApplicationTest : public NativeHintWindowTest {
protected:
    void SetUp() override { InitNativeHintWindow(application, tooltips); }
    const int save = 1, open = 2; // two controls, compared by address only
};

TEST_F(HintApplicationTest, TheFirstHintShowsItsShortHintBelowThePointerAfterThePause) {
    tooltips.doubleClickTime = 900;
    application.PointerOver(&save, u"Save\r\nnow|Saves the settings");
    // The long hint is current at once; the timings are the toolkit's until
    // the first hint window exists.
    EXPECT_EQ(application.Hint(), u"Saves the settings");
    EXPECT_EQ(host.timer, 500);
    EXPECT_EQ(application.CurrentHintWindow(), nullptr);

    ASSERT_TRUE(host.Elapse(application));
    ASSERT_NE(application.CurrentHintWindow(), nullptr);
    ASSERT_EQ(tooltips.shown.size(), 1u);
    EXPECT_EQ(tooltips.shown[0].text, u"Save\r\nnow");
    EXPECT_EQ(tooltips.shown[0].point, (HintPoint{300, 200 + 21}));
    // Shown: it hides after the hide pause of the new timings.
    EXPECT_EQ(host.timer, 9000);
    ASSERT_TRUE(host.Elapse(application));
    EXPECT_EQ(tooltips.Alive(), 0);
    EXPECT_FALSE(host.timer);
}

TEST_F(HintApplicationTest, MovingOnWhileAHintIsUpTakesTheShortPause) {
    application.PointerOver(&save, u"Save");
    host.Elapse(application);
    ASSERT_EQ(tooltips.Alive(), 1);
    application.PointerOver(&open, u"Open");
    EXPECT_EQ(tooltips.Alive(), 0);
    EXPECT_EQ(host.timer, 100);
    host.Elapse(application);
    ASSERT_EQ(tooltips.shown.size(), 2u);
    EXPECT_EQ(tooltips.shown[1].text, u"Open");

    // Resting on the same control shows nothing new.
    application.PointerOver(&open, u"Open");
    EXPECT_EQ(host.timer, 5000);
    EXPECT_EQ(tooltips.shown.size(), 2u);
}

TEST_F(HintApplicationTest, APlaceWithoutAHintTakesTheTooltipAwayAtOnce) {
    for (const bool control : {false, true}) {
        application.PointerOver(&save, u"Save|Long");
        host.Elapse(application);
        ASSERT_EQ(tooltips.Alive(), 1);
        if (control)
            application.PointerOver(&open, u""); // a control without a hint text
        else
            application.PointerOver(nullptr, u"");
        EXPECT_EQ(tooltips.Alive(), 0) << control;
        EXPECT_EQ(application.Hint(), u"");
        EXPECT_FALSE(host.timer);
        application.PointerOver(nullptr, u"");
    }
}

TEST_F(HintApplicationTest, CancellingHidesAndRestingLongerDoesNotBringItBack) {
    application.PointerOver(&save, u"Save");
    host.Elapse(application);
    application.CancelHint();
    EXPECT_EQ(tooltips.Alive(), 0);
    EXPECT_FALSE(host.timer);
    application.PointerOver(&save, u"Save");
    EXPECT_FALSE(host.timer);

    // Cancelled while waiting: nothing shows.
    application.PointerOver(&open, u"Open");
    application.CancelHint();
    EXPECT_FALSE(host.Elapse(application));
    EXPECT_EQ(tooltips.shown.size(), 1u);
}

TEST_F(HintApplicationTest, LeavingCountsOnlyForTheControlUnderThePointer) {
    application.PointerOver(&save, u"Save");
    host.Elapse(application);
    application.PointerOver(&open, u"Open");
    // The window of the first control notices late that the pointer left it.
    application.PointerLeft(&save);
    EXPECT_EQ(host.timer, 100);
    application.PointerLeft(&open);
    EXPECT_FALSE(host.timer);
    EXPECT_EQ(application.Hint(), u"");
}

TEST_F(HintApplicationTest, AnOnlyLongHintShowsNoTooltip) {
    int changes = 0;
    application.SetOnHint([&changes] { ++changes; });
    application.PointerOver(&save, u"|Only for the status line");
    EXPECT_EQ(application.Hint(), u"Only for the status line");
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(host.Elapse(application));
    EXPECT_TRUE(tooltips.shown.empty());
}

TEST_F(HintApplicationTest, AHintWindowOfAnotherClassIsReplacedBeforeTheNextHint) {
    struct Counting final : HintWindow {
        explicit Counting(int& activations) : activations_(activations) {}
        HintRect CalcHintRect(int, std::u16string_view, const void*) override { return {}; }
        void ActivateHint(HintRect, std::u16string_view) override { ++activations_; }
        void ReleaseHandle() override {}
        int& activations_;
    };
    int activations = 0;
    application.SetHintWindowClass(
        [&activations](HintApplication&) { return std::make_unique<Counting>(activations); });
    application.SetHideHandler(nullptr);
    application.PointerOver(&save, u"Save");
    host.Elapse(application);
    EXPECT_EQ(activations, 1);
    EXPECT_TRUE(LiveHintWindows().empty());

    InitNativeHintWindow(application, tooltips);
    application.PointerOver(&open, u"Open");
    host.Elapse(application);
    EXPECT_EQ(activations, 1);
    ASSERT_EQ(tooltips.shown.size(), 1u);
    EXPECT_EQ(tooltips.shown[0].text, u"Open");
    ASSERT_EQ(LiveHintWindows().size(), 1u);
    EXPECT_EQ(application.CurrentHintWindow(), LiveHintWindows().front());
}

TEST_F(HintApplicationTest, RecreatingTheHintWindowReadsTheTimingsAnew) {
    application.PointerOver(&save, u"Save");
    host.Elapse(application);
    HintWindow* first = application.CurrentHintWindow();
    ASSERT_NE(first, nullptr);
    tooltips.doubleClickTime = 900;
    application.RecreateHintWindow();
    EXPECT_EQ(tooltips.Alive(), 0);
    EXPECT_EQ(LiveHintWindows().size(), 1u);
    EXPECT_EQ(application.HintPause(), 900);
    EXPECT_EQ(application.HintHidePause(), 9000);
}

TEST(HintText, NoControlOfTheShippedWindowsCarriesAHint) {
    for (const FormModel& form :
         {MakeMainFormModel(), MakeAboutFormModel(), MakeSettingsFormModel()}) {
        ASSERT_FALSE(form.components.empty());
        for (const Component& component : form.components)
            EXPECT_EQ(component.hint, u"")
                << std::string(form.name.begin(), form.name.end()) << "."
                << std::string(component.name.begin(), component.name.end());
    }
}

} // namespace
} // namespace kavrolt
