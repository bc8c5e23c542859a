#include "forms/about_form.h"

#include "forms/preferences_form.h"
#include "ports/about_view.h"
#include "ports/main_view.h"

namespace vt {

void TForm3::FormCreate(const AboutCredit& credit) {
    address_ = credit.address;
    AboutView& v = ports_.view;
    v.SetText(AboutText::Caption, "Vantorel.Tray");
    v.SetText(AboutText::Label1, "Vantorel.Tray");
    v.SetText(AboutText::Label4, address_);
    v.SetText(AboutText::Label2, kVersionText);
    v.SetText(AboutText::Label8, kBuildDateText);
    v.SetText(AboutText::Label5, credit.line1);
    v.SetText(AboutText::Label6, credit.line2);
    v.SetText(AboutText::Label7, address_);
    v.SetText(AboutText::Button1, "Ok");
}

void TForm3::Show() {
    ports_.view.ShowForm();
}

void TForm3::Button1Click() {
    ports_.view.HideForm();
    FormClose();
}

void TForm3::FormClose() {
    ports_.menu.EnableMenuItem(MenuItem::AboutTray, true);
    if (preferences_) preferences_->SetButton3Enabled(true);
}

void TForm3::LabelClick() {
    ports_.view.OpenAddress(address_);
}

void TForm3::LabelMouseMove() {
    ports_.view.SetAppCursor(AppCursor::HandPoint);
}

void TForm3::LabelMouseLeave() {
    ports_.view.SetAppCursor(AppCursor::Default);
}

}  // namespace vt
