// The program's three forms and their cross-references: the main form opens the dialogs and
// reports job ends to the preferences; the two dialogs enable each other's About controls.
#pragma once

#include "forms/about_form.h"
#include "forms/main_form.h"
#include "forms/preferences_form.h"

namespace vt {

class AboutView;
class PrefsView;
class Registry;

struct ProgramPorts {
    MainPorts main;
    PrefsView& preferencesView;
    AboutView& aboutView;
    Registry& registry;
};

class Program {
  public:
    explicit Program(ProgramPorts ports);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // After main.FormCreate (the start-up) and once the dialogs' windows exist: fills the
    // preferences, then About.
    void CreateDialogs();

    TForm1 main;
    TForm2 preferences;
    TForm3 about;
};

}  // namespace vt
