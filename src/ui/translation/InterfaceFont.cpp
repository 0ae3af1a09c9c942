#include "ui/translation/InterfaceFont.h"

#include <QFontDatabase>
#include <QFontInfo>

QString InterfaceFontName()
{
    // The family the font system actually resolves, not the generic alias ("Sans Serif"),
    // so that comparisons with a widget's font family are meaningful.
    static const QString name = QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family();
    return name;
}
