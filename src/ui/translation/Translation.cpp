#include "ui/translation/Translation.h"

#include "ui/translation/ILanguagePluginManager.h"

namespace {

const QString kMarker = QStringLiteral("!!");

QString &CurrentLanguage()
{
    static QString language = QStringLiteral("DE");
    return language;
}

ILanguagePluginManager *g_manager = nullptr;

QString DefaultTextHook(const QString &source)
{
    if (!source.startsWith(kMarker))
        return source;
    const QString germanKey = source.mid(2);
    if (!g_manager)
        return germanKey;
    const int entry = g_manager->FindEntry(germanKey);
    if (entry < 1)
        return germanKey;
    const QString answer = g_manager->GetText(entry, GetLanguage());
    return IsMissingTextAnswer(answer, GetLanguage()) ? germanKey : answer;
}

// Restores the current language when a call with an explicit language ends,
// also when the hook throws.
class LanguageRestorer
{
public:
    explicit LanguageRestorer(const QString &language) : m_previous(GetLanguage())
    {
        SetLanguage(language);
    }
    ~LanguageRestorer() { SetLanguage(m_previous); }
    LanguageRestorer(const LanguageRestorer &) = delete;
    LanguageRestorer &operator=(const LanguageRestorer &) = delete;

private:
    QString m_previous;
};

} // namespace

void SetLanguage(const QString &language)
{
    CurrentLanguage() = language;
}

QString GetLanguage()
{
    return CurrentLanguage();
}

bool IsMissingTextAnswer(const QString &answer, const QString &language)
{
    return answer == language + QLatin1Char('?') || answer == language + QStringLiteral("??");
}

TextHook CurrentTextHook()
{
    return &DefaultTextHook;
}

QString TranslateTextW(const QString &source, const QString &language)
{
    if (language.isEmpty())
        return CurrentTextHook()(source);
    LanguageRestorer restorer(language);
    return CurrentTextHook()(source);
}

QString TranslateText(const char *source, const QString &language)
{
    return TranslateTextW(QString::fromUtf8(source), language);
}

QString TranslateText(const QByteArray &source, const QString &language)
{
    return TranslateTextW(QString::fromUtf8(source), language);
}

void RegisterLanguagePluginManager(ILanguagePluginManager *manager)
{
    g_manager = manager;
    if (g_manager)
        g_manager->LoadPlugins();
}

ILanguagePluginManager *RegisteredLanguagePluginManager()
{
    return g_manager;
}
