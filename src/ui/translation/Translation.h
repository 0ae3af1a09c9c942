#pragma once

#include <QString>

class ILanguagePluginManager;

// Texts written as German sources with the marker "!!" are translated at run time
// into the current language; texts without the marker pass unchanged.

void SetLanguage(const QString &language);
QString GetLanguage();

// The program's own literals: UTF-8 source text.
QString TranslateText(const char *source, const QString &language = QString());
QString TranslateText(const QByteArray &source, const QString &language = QString());
QString TranslateTextW(const QString &source, const QString &language = QString());

// Stores the manager (not owned) and lets it load its plugins at once.
void RegisterLanguagePluginManager(ILanguagePluginManager *manager);
ILanguagePluginManager *RegisteredLanguagePluginManager();

// The two hooks through which all translation passes.
using TextHook = QString (*)(const QString &source);
TextHook CurrentTextHook();

// True when a plugin answer means "no text": the current code followed by "?" or "??".
bool IsMissingTextAnswer(const QString &answer, const QString &language);
