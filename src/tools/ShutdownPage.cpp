#include "tools/ShutdownPage.h"

#include <algorithm>
#include <exception>
#include <initializer_list>

namespace vt {

ShutdownPage::ShutdownPage(TForm1& form, Platform& sys, ui::Prompts& prompts)
    : Sheet("TabSheet7", &form.PageControl1, "Shutdown", 10),
      form_(form),
      sys_(sys),
      prompts_(prompts) {
    RxLabel10.SetBounds(8, 8, 0, 24);
    CheckBox48.SetBounds(16, 46, 240, 17);
    GroupBox17.SetBounds(8, 72, 510, 74);
    Label37.SetBounds(12, 20, 0, 13);
    struct Part {
        ui::SpinEdit& spin;
        ui::Label& unit;
        int left;
    };
    for (Part part : {Part{SpinEdit3, Label38, 12}, Part{SpinEdit4, Label40, 112},
                      Part{SpinEdit5, Label41, 222}}) {
        part.spin.SetBounds(part.left, 40, 44, 21);
        part.spin.SetMaxLength(2);
        part.unit.SetBounds(part.left + 50, 44, 0, 13);
    }
    GroupBox18.SetBounds(8, 154, 300, 66);
    RadioButton20.SetBounds(12, 20, 200, 17);
    RadioButton21.SetBounds(12, 40, 200, 17);
    SpeedButton11.SetBounds(440, 190, 75, 25);
    GroupBox16.SetBounds(8, 228, 340, 78);
    Label39.SetBounds(12, 20, 0, 13);
    Label44.SetBounds(12, 38, 0, 13);
    Label45.SetBounds(12, 56, 0, 13);
    GroupBox15.SetBounds(8, 314, 340, 48);
    GroupBox15.SetFontColor(ui::kNavy);
    Label42.SetBounds(12, 12, 0, 13);
    Label15.SetBounds(12, 28, 0, 13);

    CheckBox48.OnClick = [this] { CheckBox48Click(); };
    SpinEdit3.OnChange = [this] { SpinEdit3Change(); };
    SpinEdit4.OnChange = [this] { SpinEdit4Change(); };
    SpinEdit5.OnChange = [this] { SpinEdit5Change(); };
    SpeedButton11.OnClick = [this] { SpeedButton11Click(); };
    Timer1.OnTimer = [this] { Timer1Timer(); };
    form.Timers().push_back(&Timer1);
    RadioButton21.SetChecked(true);
    AutoShutDown_Disable();
}

ShutdownPage::~ShutdownPage() {
    auto& timers = form_.Timers();
    timers.erase(std::remove(timers.begin(), timers.end(), &Timer1), timers.end());
}

void ShutdownPage::AutoShutDown_Enable() {
    for (ui::Control* control : std::initializer_list<ui::Control*>{
             &GroupBox17, &GroupBox18, &SpinEdit3, &SpinEdit4, &SpinEdit5, &Label37, &Label38,
             &Label40, &Label41, &RadioButton20, &RadioButton21})
        control->SetEnabled(true);
}

void ShutdownPage::AutoShutDown_Disable() {
    for (ui::Control* control : std::initializer_list<ui::Control*>{
             &GroupBox17, &GroupBox18, &SpinEdit3, &SpinEdit4, &SpinEdit5, &Label37, &Label38,
             &Label40, &Label41, &RadioButton20, &RadioButton21, &SpeedButton11})
        control->SetEnabled(false);
    for (ui::SpinEdit* spin : {&SpinEdit3, &SpinEdit4, &SpinEdit5}) spin->SetValue(0);
    ShutdownSeconds = HoursSeconds = MinutesSeconds = SecondsPart = 0;
    Timer1.SetEnabled(false);
    form_.AutoShutdownActive = false;
    form_.ShutdownByCountdown = false;
}

void ShutdownPage::Reset() {
    ShutdownSeconds = HoursSeconds = MinutesSeconds = SecondsPart = 0;
    Timer1.SetEnabled(false);
    RadioButton21.SetChecked(true);
}

// Mouse or keyboard, every change of the tick.
void ShutdownPage::CheckBox48Click() {
    if (CheckBox48.Checked())
        AutoShutDown_Enable();
    else
        AutoShutDown_Disable();
}

// A countdown already running keeps its delay until "Run" is pressed again.
void ShutdownPage::TimeChange() {
    HoursSeconds = SpinEdit3.Value() * 3600;
    MinutesSeconds = SpinEdit4.Value() * 60;
    SecondsPart = SpinEdit5.Value();
    ShutdownSeconds = HoursSeconds + MinutesSeconds + SecondsPart;
    SpeedButton11.SetEnabled(ShutdownSeconds != 0);
}

void ShutdownPage::SpinEdit3Change() {
    TimeChange();
}

void ShutdownPage::SpinEdit4Change() {
    TimeChange();
}

void ShutdownPage::SpinEdit5Change() {
    TimeChange();
}

// A different delay restarts the countdown from now; the same one lets it run on.
void ShutdownPage::SpeedButton11Click() {
    if (ShutdownSeconds == 0) return;  // never a timer of no length
    form_.AutoShutdownActive = true;
    Timer1.SetEnabled(true);
    Timer1.SetInterval(static_cast<unsigned>(ShutdownSeconds) * 1000u);
}

// Every setting shown is saved first. A pass that fails shows its message and this firing
// does nothing more: the countdown goes on and tries again after another full delay. The
// shutdown leaves the countdown armed, so that a shutdown another program refused comes
// again; the suspend ends it.
void ShutdownPage::Timer1Timer() {
    if (firing_) return;  // the last firing's error box is still up
    firing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{firing_};
    if (form_.WriteSettled()) return;  // reported, with the offer to put it back
    if (RadioButton21.Checked()) {
        form_.ShutdownByCountdown = true;
        if (!sys_.ExitWindowsEx(EWX_SHUTDOWN)) form_.ShutdownByCountdown = false;
        return;
    }
    CheckBox48.SetChecked(false);
    AutoShutDown_Disable();
    for (ui::SpinEdit* spin : {&SpinEdit3, &SpinEdit4, &SpinEdit5}) spin->SetValue(0);
    ShutdownSeconds = HoursSeconds = MinutesSeconds = SecondsPart = 0;
    Timer1.SetEnabled(false);
    form_.AutoShutdownActive = false;
    sys_.SetSystemPowerState(FALSE, FALSE);
}

}  // namespace vt
