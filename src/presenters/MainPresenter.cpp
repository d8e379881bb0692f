#include "presenters/MainPresenter.h"

#include "base/Failure.h"
#include "registry/CustomRegistry.h"
#include "services/Product.h"
#include "services/TimeStamps.h"
#include "sysinfo/WindowsVersion.h"

namespace kavrolt {
namespace {

using enum MainControl;
using enum FormEvent;
using Row = Binding<MainPresenter, MainControl>;
constexpr auto HKLM = kHkeyLocalMachine;

constexpr Row kMainBindings[] = {
    {NavButton1, Click, &MainPresenter::NavButton1Click},
    {NavStatic1, Click, &MainPresenter::NavButton1Click},
    {NavButton2, Click, &MainPresenter::NavButton2Click},
    {NavStatic2, Click, &MainPresenter::NavButton2Click},
    {LinkLabel6, Click, &MainPresenter::NavButton2Click},
    {NavButton3, Click, &MainPresenter::NavButton3Click},
    {NavStatic3, Click, &MainPresenter::NavButton3Click},
    {LinkLabel5, Click, &MainPresenter::NavButton3Click},
    {TechSupportPopup, Click, &MainPresenter::NavButton3Click},
    {NavButton4, Click, &MainPresenter::NavButton4Click},
    {NavStatic4, Click, &MainPresenter::NavButton4Click},
    {LinkLabel7, Click, &MainPresenter::NavButton4Click},
    {LinkLabel4, Click, &MainPresenter::HelpFilePopupClick},
    {HelpFilePopup, Click, &MainPresenter::HelpFilePopupClick},
    {NavButton1, MouseEnter, &MainPresenter::NavButtonMouseEnter},
    {NavButton2, MouseEnter, &MainPresenter::NavButtonMouseEnter},
    {NavButton3, MouseEnter, &MainPresenter::NavButtonMouseEnter},
    {NavButton4, MouseEnter, &MainPresenter::NavButtonMouseEnter},
    {NavStatic1, MouseEnter, &MainPresenter::NavButtonMouseEnter},
    {NavStatic2, MouseEnter, &MainPresenter::NavButtonMouseEnter},
    {NavStatic3, MouseEnter, &MainPresenter::NavButtonMouseEnter},
    {NavStatic4, MouseEnter, &MainPresenter::NavButtonMouseEnter},
    {NavButton1, MouseLeave, &MainPresenter::NavButtonMouseLeave},
    {NavButton2, MouseLeave, &MainPresenter::NavButtonMouseLeave},
    {NavButton3, MouseLeave, &MainPresenter::NavButtonMouseLeave},
    {NavButton4, MouseLeave, &MainPresenter::NavButtonMouseLeave},
    {NavStatic1, MouseLeave, &MainPresenter::NavButtonMouseLeave},
    {NavStatic2, MouseLeave, &MainPresenter::NavButtonMouseLeave},
    {NavStatic3, MouseLeave, &MainPresenter::NavButtonMouseLeave},
    {NavStatic4, MouseLeave, &MainPresenter::NavButtonMouseLeave},
    {LinkLabel4, MouseEnter, &MainPresenter::LabelMouseEnter},
    {LinkLabel5, MouseEnter, &MainPresenter::LabelMouseEnter},
    {LinkLabel6, MouseEnter, &MainPresenter::LabelMouseEnter},
    {LinkLabel7, MouseEnter, &MainPresenter::LabelMouseEnter},
    {LinkLabel4, MouseLeave, &MainPresenter::LabelMouseLeave},
    {LinkLabel5, MouseLeave, &MainPresenter::LabelMouseLeave},
    {LinkLabel6, MouseLeave, &MainPresenter::LabelMouseLeave},
    {LinkLabel7, MouseLeave, &MainPresenter::LabelMouseLeave},
    {GoButton, Click, &MainPresenter::GoButtonClick},
    {RestoreButton, Click, &MainPresenter::RestoreButtonClick},
    {UpdatesButton, Click, &MainPresenter::UpdatesButtonClick},
};

// A navigation picture and its label underline the same label: the one whose
// name is the sender's with "NavStatic" for its first nine characters.
constexpr std::pair<MainControl, MainControl> kNavStatics[] = {
    {NavButton1, NavStatic1}, {NavButton2, NavStatic2}, {NavButton3, NavStatic3},
    {NavButton4, NavStatic4}, {NavStatic1, NavStatic1}, {NavStatic2, NavStatic2},
    {NavStatic3, NavStatic3}, {NavStatic4, NavStatic4},
};

} // namespace

MainPresenter::MainPresenter(FormView& view, ProgramServices& services, AboutPresenter& about,
                             ProgressPresenter& progress)
    : view_(view), services_(services), about_(about), progress_(progress) {}

std::span<const Row> MainPresenter::Bindings() {
    return kMainBindings;
}

MainControl MainPresenter::NavStaticFor(MainControl sender) {
    for (const auto& [from, to] : kNavStatics)
        if (from == sender)
            return to;
    return sender;
}

bool MainPresenter::Handle(int index, FormEvent event) {
    return Dispatch(Bindings(), *this, index, event);
}

void MainPresenter::AppendText(MainControl id, std::u16string_view tail) {
    FormModel& model = view_.Model();
    model.SetText(id, model.At(id).text + std::u16string(tail));
}

void MainPresenter::FormCreate() {
    // The window is shown with what the earlier steps did.
    Guarded([&] {
        PrepareWindow(view_, services_);

        auto& store = services_.Registry();
        std::u16string date =
            StampToText(ReadRegString(store, HKLM, kProgramKey, u"UpdatedDate", u"", false));
        if (date.empty())
            date =
                StampToText(ReadRegString(store, HKLM, kProgramKey, u"InstalledDate", u"", false));
        int processor = ReadRegInteger(store, HKLM, kProgramKey, u"ProcessorType", -1, false);
        const int speed = ReadRegInteger(store, HKLM, kProgramKey, u"SpeedSetting", 0, false);
        const bool restore = ReadRegBool(store, HKLM, kProgramKey, u"Restore", false, false);

        AppendText(SoftwareLastUpdateLabel, date);
        AppendText(VersionInstalledLabel, kProgramVersion);

        view_.Select(Index(WindowsCombo),
                     WindowsVersionToListIndex(services_.DetectWindowsVersion()));
        if (processor == -1)
            processor = services_.DetectProcessorVendor();
        view_.Select(Index(ProcessorCombo), processor);
        view_.Enable(Index(RestoreButton), restore);
        view_.Select(Index(SpeedTrackBar), speed < 0 ? 0 : speed > 1 ? 1 : speed);

        // Update rule: a missing date counts as now, so no check starts.
        const auto now = StampText(DateTimeToStamp(services_.Now()));
        const auto updated = ReadRegString(store, HKLM, kProgramKey, u"UpdatedDate", now, false);
        const auto when = TextToDateTime(StampToDateTimeText(updated));
        if (!when)
            return; // a stored date that converts to no date ends the creation here
        if (WholeDaysBetween(*when, services_.Now()) > 45)
            services_.RunProgram(services_.ProgramFolder() + u"Kavrolt.exe", u"/checkupdate");
    });
}

void MainPresenter::ApplicationEventsShortCut(unsigned keyCode, bool& /*handled*/) {
    Guarded([&] {
        if (keyCode != kKeyF1)
            return;
        if (about_.View().IsVisible() || progress_.View().IsVisible() || view_.IsVisible())
            services_.ShowHelpTopic(u"Kavrolt.chm", u"/html/main.htm");
    });
}

void MainPresenter::NavButton1Click(MainControl /*sender*/) {
    // The menu opens below the help picture whichever of picture and label
    // was clicked; no sound.
    view_.OpenPopupMenuBelow(Index(NavButton1));
}

void MainPresenter::NavButton2Click(MainControl /*sender*/) {
    services_.PlayClickSound();
    services_.OpenUrl(kMakerHomePage);
}

void MainPresenter::NavButton3Click(MainControl /*sender*/) {
    services_.PlayClickSound();
    services_.OpenUrl(kMakerSupportPage);
}

void MainPresenter::NavButton4Click(MainControl /*sender*/) {
    services_.PlayClickSound();
    about_.ShowModal();
}

void MainPresenter::HelpFilePopupClick(MainControl /*sender*/) {
    bool handled = false;
    ApplicationEventsShortCut(kKeyF1, handled);
}

void MainPresenter::NavButtonMouseEnter(MainControl sender) {
    view_.SetUnderline(Index(NavStaticFor(sender)), true);
}

void MainPresenter::NavButtonMouseLeave(MainControl sender) {
    view_.SetUnderline(Index(NavStaticFor(sender)), false);
}

void MainPresenter::LabelMouseEnter(MainControl sender) {
    view_.SetUnderline(Index(sender), true);
}

void MainPresenter::LabelMouseLeave(MainControl sender) {
    view_.SetUnderline(Index(sender), false);
}

void MainPresenter::GoButtonClick(MainControl /*sender*/) {
    kavrolt::GoButtonClick(*this);
}

void MainPresenter::RestoreButtonClick(MainControl /*sender*/) {
    kavrolt::RestoreButtonClick(*this);
}

void MainPresenter::UpdatesButtonClick(MainControl /*sender*/) {
    services_.PlayClickSound();
    services_.RunProgram(services_.ProgramFolder() + u"KavroltUpdate.exe", u"");
}

int MainPresenter::WindowsListIndex() {
    return view_.Selection(Index(WindowsCombo));
}
int MainPresenter::ProcessorListIndex() {
    return view_.Selection(Index(ProcessorCombo));
}
int MainPresenter::SpeedPosition() {
    return view_.Selection(Index(SpeedTrackBar));
}
void MainPresenter::EnableMainWindow(bool enabled) {
    view_.Enable(kParentIsWindow, enabled);
}
void MainPresenter::EnableRestoreButton(bool enabled) {
    view_.Enable(Index(RestoreButton), enabled);
}
void MainPresenter::ShowProgress() {
    progress_.Show();
}
void MainPresenter::SetStepCounters(int stepTotal, int stepCount) {
    progress_.SetStepCounters(stepTotal, stepCount);
}
void MainPresenter::SetProgressHeading(std::u16string_view text) {
    progress_.SetHeading(text);
}
void MainPresenter::AdvanceProgressStep(std::u16string_view text) {
    progress_.AdvanceProgressStep(text);
}
void MainPresenter::CloseProgress() {
    progress_.Close();
}
int MainPresenter::ShowMessage(std::u16string_view text, unsigned flags) {
    return view_.Ask(text, flags);
}
std::u16string MainPresenter::LoadCaption(std::u16string_view window, std::u16string_view key) {
    return services_.LoadCaption(window, key);
}
void MainPresenter::PlayClickSound() {
    services_.PlayClickSound();
}
void MainPresenter::RestartWindows() {
    services_.RestartWindows();
}
RegistryStore& MainPresenter::Registry() {
    return services_.Registry();
}

} // namespace kavrolt
