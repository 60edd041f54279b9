#include "application/LanguageAndFontSetup.h"

#include "application/CPXRResource.h"
#include "application/CurrentLanguageModel.h"
#include "ui/FontLibrary.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>
#include <mutex>

namespace x38200_application
{
namespace
{
    const char* const frameworkTranslationFileName = "JuceLocalizableStrings_ja.txt";

    // Where fonts live: the folders the framework scans, plus the usual ones.
    juce::StringArray getFontFolders()
    {
        juce::StringArray folders;
        folders.addTokens (juce::SystemStats::getEnvironmentVariable ("JUCE_FONT_PATH", {}), ";,", "");

        for (const auto* path : { "/etc/fonts/fonts.conf", "/usr/share/fonts/fonts.conf", "/usr/local/etc/fonts/fonts.conf" })
        {
            if (auto xml = juce::parseXML (juce::File (path)))
            {
                for (auto* dir : xml->getChildWithTagNameIterator ("dir"))
                {
                    auto folder = dir->getAllSubText().trim();
                    if (folder.isEmpty())
                        continue;
                    if (dir->getStringAttribute ("prefix") == "xdg")
                    {
                        auto dataHome = juce::SystemStats::getEnvironmentVariable ("XDG_DATA_HOME", {});
                        if (dataHome.trim().isEmpty())
                            dataHome = "~/.local/share";
                        folder = juce::File (dataHome).getChildFile (folder).getFullPathName();
                    }
                    folders.add (folder);
                }
                break;
            }
        }

        folders.addArray (juce::StringArray { "/usr/share/fonts", "/usr/local/share/fonts", "~/.local/share/fonts", "~/.fonts" });
        folders.removeEmptyStrings();
        folders.removeDuplicates (false);
        return folders;
    }

    juce::File& collectionLinkFolder()
    {
        static juce::File folder;
        return folder;
    }

    // A private folder for the links, gone when the process ends.
    juce::File makeCollectionLinkFolder()
    {
        auto base = juce::File (juce::SystemStats::getEnvironmentVariable ("XDG_RUNTIME_DIR", {}));
        if (base.getFullPathName().isEmpty() || ! base.isDirectory() || ! base.hasWriteAccess())
            base = juce::File::getSpecialLocation (juce::File::tempDirectory);

        auto pattern = base.getChildFile ("tarnombi-fonts-XXXXXX").getFullPathName().toStdString();
        if (::mkdtemp (pattern.data()) == nullptr)
            return {};

        collectionLinkFolder() = juce::File (juce::String (pattern));
        std::atexit ([] { collectionLinkFolder().deleteRecursively(); });
        return collectionLinkFolder();
    }
} // namespace

juce::String reduceToLanguageCode (const juce::String& localeName)
{
    return localeName.trim().initialSectionNotContaining ("_.@-");
}

juce::StringArray getPreferredLanguages (const std::function<juce::String (const char*)>& getVariable)
{
    juce::StringArray entries;
    entries.addTokens (getVariable ("LANGUAGE"), ":", "");
    for (const auto* name : { "LC_ALL", "LC_MESSAGES", "LANG" })
        entries.add (getVariable (name));

    juce::StringArray languages;
    for (const auto& entry : entries)
    {
        const auto code = reduceToLanguageCode (entry);
        if (code.isNotEmpty())
            languages.add (code);
    }
    return languages;
}

juce::StringArray getPreferredLanguages()
{
    return getPreferredLanguages ([] (const char* name) { return juce::String::fromUTF8 (std::getenv (name)); });
}

int chooseLanguage (const juce::StringArray& preferredLanguages)
{
    for (const auto& language : preferredLanguages)
    {
        if (language == "ja")
            return CurrentLanguageModel::Japanese;
        if (language == "en")
            return CurrentLanguageModel::English;
    }
    return CurrentLanguageModel::English;
}

const juce::StringArray& getJapaneseFontFamilies()
{
    static const juce::StringArray families { "Hiragino Maru Gothic ProN", "Hiragino Maru Gothic Pro", "Osaka",
                                              "Hiragino Kaku Gothic ProN", "Hiragino Kaku Gothic Pro",
                                              // the Japanese families of Linux desktops
                                              "Noto Sans CJK JP", "IPAexGothic" };
    return families;
}

juce::String chooseDefaultFontFamily (int language, const juce::StringArray& installedFamilies, const juce::String& systemFamily)
{
    if (language == CurrentLanguageModel::Japanese)
    {
        for (const auto& family : getJapaneseFontFamilies())
        {
            const auto index = installedFamilies.indexOf (family, true);
            if (index >= 0)
                return installedFamilies[index];
        }
    }
    return systemFamily;
}

juce::String getSystemFontFamily()
{
    const juce::Font sansSerif (juce::Font::getDefaultSansSerifFontName(), 13.0f, juce::Font::plain);
    if (auto typeface = juce::Font::getDefaultTypefaceForFont (sansSerif))
        if (typeface->getName().isNotEmpty())
            return typeface->getName();
    return juce::Font::getDefaultSansSerifFontName();
}

juce::String resolveFontFamily (const juce::String& family, const juce::StringArray& installedFamilies)
{
    static const juce::StringArray sansSerif { "Liberation Sans", "Arimo", "Nimbus Sans", "Nimbus Sans L", "DejaVu Sans" };
    static const juce::StringArray serif { "Liberation Serif", "Tinos", "Nimbus Roman", "DejaVu Serif" };
    static const juce::StringArray monospaced { "Liberation Mono", "Cousine", "Nimbus Mono PS", "DejaVu Sans Mono" };

    auto candidates = juce::StringArray (family);
    if (family.equalsIgnoreCase ("Arial") || family.equalsIgnoreCase ("Helvetica"))
        candidates.addArray (sansSerif);
    else if (family.equalsIgnoreCase ("Times New Roman") || family.equalsIgnoreCase ("Times"))
        candidates.addArray (serif);
    else if (family.equalsIgnoreCase ("Courier New") || family.equalsIgnoreCase ("Courier"))
        candidates.addArray (monospaced);

    for (const auto& candidate : candidates)
    {
        const auto index = installedFamilies.indexOf (candidate, true);
        if (index >= 0)
            return installedFamilies[index];
    }
    return juce::Font::getDefaultSansSerifFontName();
}

void registerFontCollections()
{
    static std::once_flag once;
    std::call_once (once, [] {
        juce::Array<juce::File> collections;
        for (const auto& folderName : getFontFolders())
        {
            const juce::File folder (folderName);
            if (folder.isDirectory())
                for (const auto& entry : juce::RangedDirectoryIterator (folder, true, "*", juce::File::findFiles))
                    if (entry.getFile().hasFileExtension ("ttc;otc"))
                        collections.addIfNotAlreadyThere (entry.getFile().getLinkedTarget());
        }
        if (collections.isEmpty())
            return;

        const auto linkFolder = makeCollectionLinkFolder();
        if (linkFolder == juce::File())
            return;

        // The framework reads a file by its contents but chooses files by extension, and every
        // face of a collection is found once the file carries a single-face extension.
        int number = 0;
        for (const auto& collection : collections)
            collection.createSymbolicLink (linkFolder.getChildFile (juce::String (number++) + "-" + collection.getFileNameWithoutExtension() + ".otf"), false);

        juce::Typeface::scanFolderForFonts (linkFolder);
    });
}
void setLanguage()
{
    CurrentLanguageModel::instance().setLanguage (chooseLanguage (getPreferredLanguages()));
}

void searchDefaultFont()
{
    registerFontCollections();

    auto& model = CurrentLanguageModel::instance();
    const auto family = chooseDefaultFontFamily (model.getLanguage(), juce::Font::findAllTypefaceNames(), getSystemFontFamily());
    model.setDefaultFontName (family);

    auto& fonts = ui::FontLibrary::instance();
    fonts.addFont ("DefaultFont", juce::Font (family, 13.0f, juce::Font::plain));
    fonts.addFont ("DefaultBoldFont", juce::Font (family, 13.0f, juce::Font::bold));
}

void applyDefaultFontFamily()
{
    juce::LookAndFeel::getDefaultLookAndFeel().setDefaultSansSerifTypefaceName (CurrentLanguageModel::instance().getDefaultFontName());
}

void initializeFontLibrary()
{
    const auto& model = CurrentLanguageModel::instance();
    const auto japanese = model.isJapanese();
    const auto arial = resolveFontFamily ("Arial", juce::Font::findAllTypefaceNames());
    // The default typeface is the family chosen for the language; naming it here keeps these
    // fonts right whatever look-and-feel draws them.
    const auto defaultFamily = model.getDefaultFontName().isNotEmpty() ? model.getDefaultFontName() : juce::Font::getDefaultSansSerifFontName();

    const auto plain = juce::Font::plain;
    const auto bold = juce::Font::bold;
    auto& fonts = ui::FontLibrary::instance();

    fonts.addFont ("ProgramListNumber", juce::Font (arial, 13.0f, plain));
    fonts.addFont ("ProgramListName", juce::Font (arial, 13.0f, plain));
    fonts.addFont ("ProgramListCategory", juce::Font (arial, 13.0f, plain));
    fonts.addFont ("FavoriteDisplayNumber", juce::Font (arial, 14.0f, plain));
    fonts.addFont ("FavoriteDisplayName", juce::Font (arial, 14.0f, plain));
    fonts.addFont ("PresetListItemPresetData", juce::Font (arial, 13.0f, plain));
    fonts.addFont ("PresetListItemProgram", juce::Font (arial, 13.0f, plain));
    fonts.addFont ("MidiCommunicationDialogStatus", juce::Font (defaultFamily, 14.0f, plain));
    fonts.addFont ("MidiCommunicationDialogDetail", juce::Font (defaultFamily, 12.5f, plain));
    fonts.addFont ("HeaderModeButton", juce::Font (arial, 13.0f, plain));
    fonts.addFont ("TweetUserName", juce::Font (defaultFamily, 13.0f, plain));
    fonts.addFont ("TweetScreenName", juce::Font (defaultFamily, 10.5f, plain));
    fonts.addFont ("TweetDateLabel", juce::Font (defaultFamily, 10.5f, plain));
    fonts.addFont ("TweetText", juce::Font (defaultFamily, 11.5f, plain));
    fonts.addFont ("TweetPrefixSuffix", juce::Font (defaultFamily, 11.0f, plain));
    fonts.addFont ("TwitterWebBrowserUrlDisplay", juce::Font (arial, 12.0f, plain));
    fonts.addFont ("TwitterErrorTitle", juce::Font (defaultFamily, 15.0f, bold));

    auto message = fonts.getFont ("DefaultBoldFont");
    message.setHeight (japanese ? 14.5f : 17.5f);
    message.setBold (true);
    fonts.addFont ("TwitterBeforeAuthorizeMessage", message);

    auto notice = fonts.getFont ("DefaultFont");
    notice.setHeight (japanese ? 11.0f : 13.0f);
    fonts.addFont ("TwitterBeforeAuthorizeNotice", notice);

    fonts.addFont ("TwitterBeforeAuthorizeButton", juce::Font (defaultFamily, 13.0f, plain));
}

void initializeJuceLocalizableStrings()
{
    if (! CurrentLanguageModel::instance().isJapanese())
    {
        juce::LocalisedStrings::setCurrentMappings (nullptr);
        return;
    }

    int size = 0;
    if (const auto* data = CPXRResource::findEmbeddedFile (frameworkTranslationFileName, size))
        juce::LocalisedStrings::setCurrentMappings (new juce::LocalisedStrings (juce::String::fromUTF8 (data, size), false));
}
} // namespace x38200_application
