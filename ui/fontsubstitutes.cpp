#include "ui/fontsubstitutes.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

void SubstituteJapaneseFontNames() {
  // Face name as written, then installed families to use for it, best first.
  const struct {
    const char* Name;
    QStringList Families;
  } substitutes[] = {
      {"ＭＳ ゴシック", {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")}},
      {"ＭＳ Ｐゴシック", {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")}},
  };
  for (const auto& substitute : substitutes) {
    QStringList installed;
    for (const QString& family : substitute.Families)
      if (QFontDatabase::hasFamily(family)) installed << family;
    if (!installed.isEmpty()) QFont::insertSubstitutions(QString::fromUtf8(substitute.Name), installed);
  }
}
