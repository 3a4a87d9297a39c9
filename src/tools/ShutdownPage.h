// The "Shutdown" page: a one-shot countdown of up to 23:59:59 that saves every page and then
// shuts Windows down or suspends the computer. Nothing of it is stored; it runs only while
// the program runs, hidden in the notification area or not.
#pragma once

#include "app/TForm1.h"

namespace vt {

class ShutdownPage {
  public:
    ShutdownPage(TForm1& form, Platform& sys, ui::Prompts& prompts);
    ~ShutdownPage();
    ShutdownPage(const ShutdownPage&) = delete;
    ShutdownPage& operator=(const ShutdownPage&) = delete;

    ui::TabSheet Sheet;
    ui::TitleLabel RxLabel10{"RxLabel10", &Sheet, "Auto Shutdown", "Verdana", 24, ui::kNavy};
    ui::CheckBox CheckBox48{"CheckBox48", &Sheet, "Enable AutoShutdown Feature"};
    ui::GroupBox GroupBox17{"GroupBox17", &Sheet, "Set Timer"};
    ui::Label Label37{"Label37", &GroupBox17, "Shutdown or suspend the computer after :"};
    ui::SpinEdit SpinEdit3{"SpinEdit3", &GroupBox17, 0, 23};
    ui::Label Label38{"Label38", &GroupBox17, "hours"};
    ui::SpinEdit SpinEdit4{"SpinEdit4", &GroupBox17, 0, 59};
    ui::Label Label40{"Label40", &GroupBox17, "minutes"};
    ui::SpinEdit SpinEdit5{"SpinEdit5", &GroupBox17, 0, 59};
    ui::Label Label41{"Label41", &GroupBox17, "seconds"};
    ui::GroupBox GroupBox18{"GroupBox18", &Sheet, "What do you want to do "};
    ui::RadioButton RadioButton20{"RadioButton20", &GroupBox18, "Suspend the computer"};
    ui::RadioButton RadioButton21{"RadioButton21", &GroupBox18, "Shutdown the computer"};
    ui::Button SpeedButton11{"SpeedButton11", &Sheet, "Run", ui::Kind::SpeedButton};
    ui::GroupBox GroupBox16{"GroupBox16", &Sheet, "How to use AutoShutdown"};
    ui::Label Label39{"Label39", &GroupBox16,
                      "1. Set the time you want to shutdown or suspend your computer."};
    ui::Label Label44{"Label44", &GroupBox16, "2. Choose what you want to do at that time."};
    ui::Label Label45{"Label45", &GroupBox16, "3. Press \"Run\" button."};
    ui::GroupBox GroupBox15{"GroupBox15", &Sheet};
    ui::Label Label42{"Label42", &GroupBox15,
                      "Use AutoShutdown to shutdown or suspend your computer "};
    ui::Label Label15{"Label15", &GroupBox15, "automaticly in specified time."};
    // The countdown, a timer of the main window.
    ui::Timer Timer1{"Timer1", 1000};

    // The delay in parts and in all, in seconds; recomputed at every change of the time.
    int HoursSeconds = 0;
    int MinutesSeconds = 0;
    int SecondsPart = 0;
    int ShutdownSeconds = 0;

    // The time entry and the choice become available; "Run" waits for a time.
    void AutoShutDown_Enable();
    // Everything off and zero, the countdown cancelled.
    void AutoShutDown_Disable();
    // At the main window's creation: no countdown, Timer1 stopped, shutdown chosen.
    void Reset();

    void CheckBox48Click();
    void SpinEdit3Change();
    void SpinEdit4Change();
    void SpinEdit5Change();
    void SpeedButton11Click();
    void Timer1Timer();

  private:
    void TimeChange();

    TForm1& form_;
    Platform& sys_;
    ui::Prompts& prompts_;
    bool firing_ = false;  // the end of the countdown is being handled (its error box is up)
};

}  // namespace vt
