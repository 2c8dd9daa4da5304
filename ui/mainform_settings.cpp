// The main window's settings: where the file lives, loading and saving it,
// and the single settings as the window shows them (the menus' choices, the
// hit limit, the fonts and colours); core/settings_table lists the keys,
// ui/formsettings binds each setting to these.
#include <QApplication>
#include <QFile>

#include "core/hits.h"
#include "text/encoding.h"
#include "ui/formsettings.h"
#include "ui/hitview.h"
#include "ui/mainform.h"
#include "ui_mainform.h"

std::string TMainForm::SettingsPath() const { return SettingsLocation().Path; }

settings::TSettingsLocation TMainForm::SettingsLocation() const {
  if (!FSettingsPath.empty()) return {settings::TSettingsKind::Named, FSettingsPath, ""};
  const std::string program =
      FProgramPath.empty() ? QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString() : FProgramPath;
  return settings::ChooseSettingsLocation(settings::SettingsPlacesFromEnvironment(program));
}

void TMainForm::LoadSettings() {
  // Reading stops at a colour that is not an integer; what was read before
  // it is shown all the same.
  settings::TSettingsValues values = CurrentSettings();
  try {
    FSettings.Load(values);
  } catch (...) {
    ApplySettings(values);
    throw;
  }
  ApplySettings(values);
}

void TMainForm::SaveSettings() {
  const settings::TSettingsLocation location = SettingsLocation();
  settings::PrepareSave(location);
  FSettings.Save(location.Path, CurrentSettings());
}

settings::TSettingsValues TMainForm::CurrentSettings() const { return form_settings::Gather(*this); }

void TMainForm::ApplySettings(const settings::TSettingsValues& values) { form_settings::Show(*this, values); }

// ---------------------------------------------------------------------------
// Single settings

bool TMainForm::ShowTags() const { return ui->SubMenuView1->isChecked(); }

void TMainForm::SetShowTags(bool show) { ui->SubMenuView1->setChecked(show); }

int TMainForm::KeywordMark() const {
  for (int mark = 1; mark < hits::kMarkNone; ++mark) {
    if (MarkItem(mark)->isChecked()) return mark;
  }
  return hits::kMarkNone;
}

void TMainForm::SetKeywordMark(int mark) { MarkItem(hits::MarkOrNone(mark))->setChecked(true); }

bool TMainForm::LimitEnabled() const { return ui->SubMenuView7->isChecked(); }

void TMainForm::SetLimitEnabled(bool enabled) { ui->SubMenuView7->setChecked(enabled); }

void TMainForm::SetHitLimit(int limit) {
  FHitLimit = limit;
  ui->SubMenuView8->setText(QStringLiteral("検索件数の設定(&S): ") + QString::number(FHitLimit));
}

std::string TMainForm::NormalFontFace() const {
  return encoding::EncodeSjisLossy(FResultView.NormalFont().family().toStdU16String()).Bytes;
}

int TMainForm::NormalFontSize() const {
  const QFont font = FResultView.NormalFont();
  return font.pointSizeF() > 0 ? qRound(font.pointSizeF())
                               : qRound(font.pixelSize() * 72.0 / ui->RichEdit1->logicalDpiY());
}

void TMainForm::SetNormalFont(const std::string& faceSjis, int size) {
  QFont font = FResultView.NormalFont();
  font.setFamilies({QString::fromStdU16String(encoding::SjisToUtf16(faceSjis))});
  // A size that no font can have keeps the present one.
  if (size > 0) font.setPointSize(size);
  FResultView.SetNormalFont(font);
}

void TMainForm::SetNormalColour(std::int32_t colour) { FResultView.SetNormalColour(colour); }

void TMainForm::SetKeywordStyle(bool bold, bool italic, bool underline) {
  FKeywordStyle.Bold = bold;
  FKeywordStyle.Italic = italic;
  FKeywordStyle.Underline = underline;
}

void TMainForm::SetKeywordColour(std::int32_t colour) { FKeywordStyle.Colour = colour; }

void TMainForm::SetBackgroundColour(std::int32_t colour) { FResultView.SetBackgroundColour(colour); }
