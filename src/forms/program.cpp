#include "forms/program.h"

#include "app/links.h"

namespace vt {

Program::Program(ProgramPorts ports)
    : main(ports.main),
      preferences(PrefsPorts{ports.preferencesView, ports.main.view, ports.main.files,
                             ports.registry, ports.main.profile, ports.main.system},
                  main),
      about(AboutPorts{ports.aboutView, ports.main.view}) {
    main.SetDialogs(&preferences, &about);
    preferences.SetAbout(&about);
    about.SetPreferences(&preferences);
}

void Program::CreateDialogs() {
    preferences.FormCreate();
    about.FormCreate(AboutCreditOf(main.service));
}

}  // namespace vt
