#include "ui/translation/TranslateComponent.h"

#include "ui/controls/THVTitle.h"
#include "ui/translation/ILanguagePluginManager.h"
#include "ui/translation/InterfaceFont.h"
#include "ui/translation/TUebersetzungsobject.h"
#include "ui/translation/Translation.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// Plugins in memory: entry numbers of German keys and texts per language.
class FakePlugins : public ILanguagePluginManager
{
public:
    void LoadPlugins() override {}
    int FindEntry(const QString &germanKey) override { return m_entries.value(germanKey, 0); }
    QString GetText(int entry, const QString &language) override
    {
        const QString text = m_texts.value({entry, language});
        if (!text.isEmpty())
            return text;
        const QString english = m_texts.value({entry, QStringLiteral("EN")});
        return english.isEmpty() ? language + QStringLiteral("?") : english;
    }
    QString GetTextRaw(int entry, const QString &language) override { return m_texts.value({entry, language}); }

    void Add(int entry, const QString &german, const QString &english)
    {
        m_entries.insert(german, entry);
        m_texts.insert({entry, QStringLiteral("DE")}, german);
        if (!english.isEmpty())
            m_texts.insert({entry, QStringLiteral("EN")}, english);
    }

private:
    QMap<QString, int> m_entries;
    QMap<std::pair<int, QString>, QString> m_texts;
};

class TranslateComponentTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        RegisterLanguagePluginManager(nullptr);
        SetLanguage(QStringLiteral("DE"));
        QGuiApplication::setApplicationDisplayName(QString());
    }
};

int RememberedCount(const QObject &object)
{
    return int(object.findChildren<TUebersetzungsobject *>(QString(), Qt::FindDirectChildrenOnly).size());
}

TEST_F(TranslateComponentTest, WithoutPluginsEveryMarkerIsRemoved)
{
    QWidget window;
    window.setWindowTitle(QStringLiteral("!!Fenster"));
    auto *button = new QPushButton(QStringLiteral("!!&Ja"), &window);
    button->setToolTip(QStringLiteral("!!Hinweis"));
    auto *label = new QLabel(QStringLiteral("Text mit !!mitten"), &window);
    auto *plain = new QLabel(QStringLiteral("Abbrechen"), &window);
    auto *group = new QGroupBox(QStringLiteral("!!Gruppe"), &window);
    auto *edit = new QLineEdit(group);
    edit->setPlaceholderText(QStringLiteral("!!Eingabe"));
    auto *title = new THVTitle(&window);
    title->SetCaption(QStringLiteral("!!Titel"));
    title->SetSubCaption(QStringLiteral("!!Untertitel"));
    auto *grid = new QTableWidget(1, 2, &window);
    grid->setHorizontalHeaderLabels({QStringLiteral("!!Datei"), QStringLiteral("!!Größe")});
    auto *tree = new QTreeWidget(&window);
    tree->setHeaderLabels({QStringLiteral("!!Name"), QStringLiteral("Pfad")});
    auto *files = new QFileDialog(&window);
    files->setWindowTitle(QStringLiteral("!!Speichern"));
    files->setNameFilters({QStringLiteral("!!Log Datei (*.log)"), QStringLiteral("!!Alle Dateien(*.*)")});

    TranslateComponent(&window);

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Fenster"));
    EXPECT_EQ(button->text(), QStringLiteral("&Ja"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("Hinweis"));
    EXPECT_EQ(label->text(), QStringLiteral("Text mit mitten"));
    EXPECT_EQ(plain->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(group->title(), QStringLiteral("Gruppe"));
    EXPECT_EQ(edit->placeholderText(), QStringLiteral("Eingabe"));
    EXPECT_EQ(title->Caption(), QStringLiteral("Titel"));
    EXPECT_EQ(title->SubCaption(), QStringLiteral("Untertitel"));
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Größe"));
    EXPECT_EQ(tree->headerItem()->text(0), QStringLiteral("Name"));
    EXPECT_EQ(tree->headerItem()->text(1), QStringLiteral("Pfad"));
    EXPECT_EQ(files->windowTitle(), QStringLiteral("Speichern"));
    EXPECT_EQ(files->nameFilters(), (QStringList{"Log Datei (*.log)", "Alle Dateien(*.*)"}));
    EXPECT_EQ(RememberedCount(*button), 0);
}

TEST_F(TranslateComponentTest, RemembersTheEntryAndTranslatesAgainLater)
{
    FakePlugins plugins;
    plugins.Add(1, QStringLiteral("Schließen"), QStringLiteral("Close"));
    plugins.Add(2, QStringLiteral("Nur deutsch"), QString());
    RegisterLanguagePluginManager(&plugins);
    SetLanguage(QStringLiteral("DE"));

    QWidget window;
    auto *close = new QPushButton(QStringLiteral("!!Schließen"), &window);
    auto *german = new QLabel(QStringLiteral("!!Nur deutsch"), &window);
    auto *unknown = new QLabel(QStringLiteral("!!Unbekannt"), &window);
    TranslateComponent(&window);
    EXPECT_EQ(close->text(), QStringLiteral("Schließen"));
    EXPECT_EQ(RememberedCount(*close), 1);
    EXPECT_EQ(unknown->text(), QStringLiteral("Unbekannt"));
    EXPECT_EQ(RememberedCount(*unknown), 0);

    SetLanguage(QStringLiteral("EN"));
    TranslateComponent(&window);
    // The caption no longer carries the marker: the remembered entry gives English.
    EXPECT_EQ(close->text(), QStringLiteral("Close"));
    EXPECT_EQ(RememberedCount(*close), 1) << "a second translation adds no second record";
    // No English text for entry 2: the German plugin's text without marker.
    EXPECT_EQ(german->text(), QStringLiteral("Nur deutsch"));

    const auto *record = close->findChild<TUebersetzungsobject *>();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->PropertyName(), QStringLiteral("Caption"));
    EXPECT_EQ(record->EntryNumber(), 1);
    EXPECT_EQ(record->SourceText(), QStringLiteral("!!Schließen"));
}

TEST_F(TranslateComponentTest, ChildWidgetsTakeTheInterfaceFont)
{
    QWidget window;
    QFont odd(QStringLiteral("DejaVu Serif"));
    odd.setBold(true);
    window.setFont(odd);
    auto *child = new QLabel(QStringLiteral("x"), &window);
    TranslateComponent(&window);
    EXPECT_EQ(child->font().family(), InterfaceFontName());
    EXPECT_TRUE(child->font().bold()) << "only the face changes";
    EXPECT_EQ(window.font().family(), QStringLiteral("DejaVu Serif")) << "a window has no parent control";
}

TEST_F(TranslateComponentTest, ApplicationTitle)
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("!!Aktualisierung"));
    TranslateComponent(QCoreApplication::instance());
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("Aktualisierung"));
}

TEST_F(TranslateComponentTest, HostileTextsPassThrough)
{
    QWidget window;
    const QString hostile = QString(10000, QLatin1Char('!')) + QChar(0xD800) + QChar(0) + QStringLiteral("<b>");
    auto *label = new QLabel(hostile, &window);
    TranslateComponent(&window);
    EXPECT_EQ(label->text(), QString(QChar(0xD800)) + QChar(0) + QStringLiteral("<b>"));
    TranslateComponent(nullptr);
}

} // namespace
