#pragma once
// The catalogue of languages: each scheme file "<name>.<SyntaxFileExtension>" in the syntax
// folder is a language, a template file of the same name in the template folder is attached to
// it, and the list file maps file-name extensions to languages. The folders are relative to the
// host program's folder, which the host's path function gives for the running program.
//
// Names and extensions compare ignoring ASCII case after their surrounding blanks are trimmed;
// the first language of a name and the first association of an extension are the ones that
// count. The catalogue is read lazily by Load and again whenever the list file's date advances;
// Save writes it back without touching the file's other sections.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "languages/language.h"
#include "languages/language_association.h"

namespace tarnwick {

class TSyntaxScheme;

class TLanguageManager {
public:
    // Folders relative to the host program's folder, each ending with "/"; extensions without
    // the dot; the list file's name inside SyntaxDirectory.
    std::string SyntaxDirectory;
    std::string TemplateDirectory;
    std::string SyntaxFileExtension;
    std::string TemplateFileExtension;
    std::string IniFileName;

    // Re-reads the catalogue when the list file is newer than at the last read. Without a list
    // file, or when it cannot be read, the catalogue stays as it is.
    void Load();
    // Rewrites the sections SyntaxSchemes, CodeTemplates and FileAssociations of the list file
    // through a temporary file. Throws std::system_error when an existing list file cannot be
    // read or the new one cannot be written; the file on disk is then unchanged.
    void Save() const;

    [[nodiscard]] int32_t LanguageCount() const noexcept { return int32_t(languages_.size()); }
    // nullptr for an index out of range.
    [[nodiscard]] const TLanguage* Languages(int32_t index) const noexcept;
    [[nodiscard]] int32_t AssociationCount() const noexcept { return int32_t(associations_.size()); }
    [[nodiscard]] const TLanguageAssociation* Associations(int32_t index) const noexcept;

    [[nodiscard]] bool HasLanguage(std::string_view name) const;
    // Appends a language without files unless one of that name exists.
    void AddLanguage(std::string_view name);
    // Sets the scheme path of the first language of that name, or appends a new language.
    void SetSyntaxFile(std::string_view name, std::string_view path);
    // Sets the template path of the first language of that name; nothing when there is none.
    void SetTemplateFile(std::string_view name, std::string_view path);
    // Only for an existing language: the extension's first association gets it, or a new
    // association is appended.
    void SetAssociation(std::string_view extension, std::string_view name);
    void RemoveAssociations(std::string_view name);
    // Appends the extensions associated with the language, in association order.
    void ExtensionsOf(std::string_view name, std::vector<std::string>& list) const;

    // The language of the first association of the extension; empty when none.
    [[nodiscard]] std::string LanguageOf(std::string_view extension) const;
    [[nodiscard]] std::string SyntaxFileOf(std::string_view name) const;
    [[nodiscard]] std::string TemplateFileOf(std::string_view name) const;
    // Host folder + folder + name, with the extension forced to the catalogue's one.
    [[nodiscard]] std::string SyntaxPathFor(std::string_view name) const;
    [[nodiscard]] std::string TemplatePathFor(std::string_view name) const;

    // Deletes the language's files where they exist, the language and its associations.
    void DeleteLanguage(std::string_view name);
    // Only when old exists and new does not: renames the language, its files on disk (a file
    // already at the new path is never replaced) and its associations.
    void RenameLanguage(std::string_view oldName, std::string_view newName);
    void ClearLanguages() noexcept;

    // The scheme of a language without a scheme file: one unnamed block without styles.
    [[nodiscard]] static std::unique_ptr<TSyntaxScheme> NewScheme();

    // The host program's folder, ending with "/"; empty when the host does not tell it.
    [[nodiscard]] static std::string HostFolder();
    [[nodiscard]] std::string ListFilePath() const;

private:
    TLanguage* FindLanguage(std::string_view name);
    [[nodiscard]] const TLanguage* FindLanguage(std::string_view name) const;
    void ReadCatalogue(std::string_view listFileText);
    void AddLanguagesFromFolder();
    void AttachTemplatesFromFolder();

    std::vector<TLanguage> languages_;                // in discovery order
    std::vector<TLanguageAssociation> associations_;  // in list-file order
    int64_t listFileTime_ = 0;  // modification time (ns) of the list file at the last read; 0: never
};

}  // namespace tarnwick
