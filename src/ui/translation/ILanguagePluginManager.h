#pragma once

#include <QString>

// What the translation core needs of the language plugin manager. The manager
// itself (plugin libraries, custom translation files) implements this interface.
class ILanguagePluginManager
{
public:
    virtual ~ILanguagePluginManager() = default;

    // Loads the plugins; called once when the manager is registered.
    virtual void LoadPlugins() = 0;
    // Entry number of a German source text (without marker) in the German plugin; < 1 when absent.
    virtual int FindEntry(const QString &germanKey) = 0;
    // Text of an entry in a language, falling back to English; "<code>?" or "<code>??" when missing.
    virtual QString GetText(int entry, const QString &language) = 0;
    // Text of an entry in exactly that language's plugin, without fallback.
    virtual QString GetTextRaw(int entry, const QString &language) = 0;
};
