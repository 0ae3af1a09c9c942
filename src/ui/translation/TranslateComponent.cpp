#include "ui/translation/TranslateComponent.h"

#include "ui/translation/ILanguagePluginManager.h"
#include "ui/translation/InterfaceFont.h"
#include "ui/translation/TUebersetzungsobject.h"
#include "ui/translation/Translation.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QTableWidget>
#include <QTreeWidget>

namespace {

const QString kMarker = QStringLiteral("!!");

QString DefaultPropertyHook(QObject *component, const QString &propertyName, const QString &value)
{
    ILanguagePluginManager *manager = RegisteredLanguagePluginManager();
    if (!manager) {
        QString result = value;
        return result.remove(kMarker);
    }
    const QString language = GetLanguage();
    QString result = value;
    bool found = false;
    for (QObject *child : component->children()) {
        auto *remembered = qobject_cast<TUebersetzungsobject *>(child);
        if (!remembered || remembered->PropertyName() != propertyName)
            continue;
        const QString answer = manager->GetText(remembered->EntryNumber(), language);
        if (!IsMissingTextAnswer(answer, language)) {
            result = answer;
            found = true;
        } else {
            result = manager->GetTextRaw(remembered->EntryNumber(), QStringLiteral("DE")).remove(kMarker);
            found = false;
        }
    }
    if (found || !value.startsWith(kMarker))
        return result;
    const QString germanKey = value.mid(2);
    const int entry = manager->FindEntry(germanKey);
    if (entry < 1)
        return germanKey;
    new TUebersetzungsobject(component, propertyName, entry, value);
    const QString answer = manager->GetText(entry, language);
    return IsMissingTextAnswer(answer, language) ? germanKey : answer;
}

// The Qt property that shows the text a property of the given name stands for, or
// an empty name when the object has no such text. A Qt property of exactly that name
// (the product's own controls publish "Caption", "SubCaption", ...) wins.
QByteArray QtPropertyFor(const QObject *object, const QString &name)
{
    const QByteArray own = name.toLatin1();
    const int index = object->metaObject()->indexOfProperty(own.constData());
    if (index >= 0 && object->metaObject()->property(index).metaType().id() == QMetaType::QString)
        return own;
    const auto *widget = qobject_cast<const QWidget *>(object);
    if (name == QLatin1String("Caption")) {
        if (qobject_cast<const QFileDialog *>(object))
            return QByteArray(); // its title is translated as "Title"
        if (qobject_cast<const QAbstractButton *>(object) || qobject_cast<const QLabel *>(object) ||
            qobject_cast<const QAction *>(object))
            return "text";
        if (qobject_cast<const QGroupBox *>(object))
            return "title";
        if (widget && widget->isWindow())
            return "windowTitle";
        return QByteArray();
    }
    if (name == QLatin1String("Hint") && (widget || qobject_cast<const QAction *>(object)))
        return "toolTip";
    if (name == QLatin1String("Prompt") && qobject_cast<const QLineEdit *>(object))
        return "placeholderText";
    return QByteArray();
}

QString Translated(QObject *component, const QString &propertyName, const QString &value)
{
    return CurrentPropertyHook()(component, propertyName, value);
}

void TranslateStringProperties(QObject *component)
{
    static const char *const kNames[] = {"Caption", "SubCaption", "Hint", "BtnCaption", "DisplayLabel", "DialogText",
                                         "Filter", "DialogTitle", "Prompt", "ButtonHint", "AltButtonHint"};
    for (const char *name : kNames) {
        const QString propertyName = QString::fromLatin1(name);
        const QByteArray qtName = QtPropertyFor(component, propertyName);
        if (qtName.isEmpty())
            continue;
        const QString value = component->property(qtName.constData()).toString();
        if (value.isEmpty())
            continue;
        component->setProperty(qtName.constData(), Translated(component, propertyName, value));
    }
}

void TranslateByClass(QObject *component)
{
    if (component == QCoreApplication::instance()) {
        const QString title = QGuiApplication::applicationDisplayName();
        if (!title.isEmpty())
            QGuiApplication::setApplicationDisplayName(Translated(component, QStringLiteral("Title"), title));
        return;
    }
    if (auto *dialog = qobject_cast<QFileDialog *>(component)) {
        if (!dialog->windowTitle().isEmpty())
            dialog->setWindowTitle(Translated(component, QStringLiteral("Title"), dialog->windowTitle()));
        QStringList filters = dialog->nameFilters();
        for (int i = 0; i < filters.size(); ++i)
            filters[i] = Translated(component, QStringLiteral("FileType%1").arg(i), filters[i]);
        dialog->setNameFilters(filters);
        return;
    }
    if (auto *grid = qobject_cast<QTableWidget *>(component)) {
        // The fixed row of a grid is its header row: row number 0.
        for (int column = 0; column < grid->columnCount(); ++column) {
            QTableWidgetItem *item = grid->horizontalHeaderItem(column);
            if (item && !item->text().isEmpty())
                item->setText(Translated(component, QStringLiteral("Cells%1;0").arg(column), item->text()));
        }
        return;
    }
    if (auto *tree = qobject_cast<QTreeWidget *>(component)) {
        QTreeWidgetItem *header = tree->headerItem();
        for (int section = 0; header && section < header->columnCount(); ++section) {
            if (!header->text(section).isEmpty())
                header->setText(section, Translated(component, QStringLiteral("HeaderSections%1").arg(section),
                                                    header->text(section)));
        }
    }
}

void ApplyInterfaceFont(QObject *component)
{
    auto *widget = qobject_cast<QWidget *>(component);
    if (!widget || !widget->parentWidget())
        return;
    const QString family = InterfaceFontName();
    QFont font = widget->font();
    if (font.family() == family)
        return;
    // Symbol fonts draw pictures, not letters: they keep their face.
    if (QFontDatabase::writingSystems(font.family()).contains(QFontDatabase::Symbol))
        return;
    font.setFamily(family);
    widget->setFont(font);
}

} // namespace

PropertyHook CurrentPropertyHook()
{
    return &DefaultPropertyHook;
}

void TranslateComponent(QObject *component)
{
    if (!component)
        return;
    ApplyInterfaceFont(component);
    TranslateStringProperties(component);
    TranslateByClass(component);
    // Children created above (remembered entries) are visited too and change nothing.
    const QObjectList owned = component->children();
    for (QObject *child : owned)
        TranslateComponent(child);
}
