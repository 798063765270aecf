#include "languages/language_manager.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <optional>
#include <system_error>
#include <unordered_set>

#include "host/abi/ascii_text.h"
#include "host/abi/parameter_list.h"
#include "host/host_functions.h"
#include "languages/syntax_scheme.h"
#include "languages/text_file.h"
#include "widgets/ini_file.h"

namespace tarnwick {

namespace {

constexpr std::string_view kSyntaxSchemes = "SyntaxSchemes";
constexpr std::string_view kCodeTemplates = "CodeTemplates";
constexpr std::string_view kFileAssociations = "FileAssociations";

// Names and extensions compare as parameter names do: trimmed, ASCII case ignored.
std::string_view Trimmed(std::string_view text) noexcept { return TrimParameterText(text); }
bool SameName(std::string_view a, std::string_view b) noexcept {
    return SameParameterName(Trimmed(a), Trimmed(b));
}

std::string UpperKey(std::string_view text) { return ascii::Upper(Trimmed(text)); }

// Keys and values of the list file are short strings.
std::string ShortString(std::string_view text) { return std::string(text.substr(0, kShortStringLength)); }

// The file's modification time in nanoseconds, or nullopt when it is not an existing file.
std::optional<int64_t> ModificationTime(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return int64_t(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

std::string RunningProgramPath() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, std::size_t(length)) : std::string();
}

bool HasExtension(const std::string& fileName, std::string_view extension) {
    const auto dot = fileName.find_last_of('.');
    return dot != std::string::npos && SameName(std::string_view(fileName).substr(dot + 1), extension);
}

// The names of the regular files "*.<extension>" in folder, sorted so that the catalogue's order
// does not depend on the file system. A missing folder lists nothing.
std::vector<std::string> ListFiles(const std::string& folder, std::string_view extension) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::string name = it->path().filename().string();
        if (HasExtension(name, extension) && it->is_regular_file(error))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return UpperKey(a) != UpperKey(b) ? UpperKey(a) < UpperKey(b) : a < b;
    });
    return names;
}

// The language a file stands for: its name without folder and extension.
std::string LanguageNameOf(const std::string& path) {
    return HostApi::ForceFileNameExtension(HostApi::ExtractFileNameFromPath(path), "");
}

// An existing file is renamed to target unless another file already has that name; the path
// names the target afterwards even when the rename failed, and failures report nothing.
void MoveLanguageFile(std::string& path, const std::string& target) {
    if (!IsExistingFile(path))
        return;
    std::error_code error;
    if (!std::filesystem::exists(target, error) && !error)
        std::filesystem::rename(path, target, error);
    path = target;
}

void RemoveFile(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
}

}  // namespace

// ---- Reading and writing the list file ------------------------------------------------------

std::string TLanguageManager::HostFolder() {
    std::string folder = HostApi::ExtractFileDirFromPath(RunningProgramPath());
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

std::string TLanguageManager::ListFilePath() const {
    const std::string host = HostFolder();
    return host.empty() ? std::string() : host + SyntaxDirectory + IniFileName;
}

void TLanguageManager::Load() {
    const std::string listFile = ListFilePath();
    const std::optional<int64_t> time = ModificationTime(listFile);
    if (!time || (listFileTime_ != 0 && *time <= listFileTime_))
        return;
    std::string text;
    try {
        text = ReadTextFile(listFile);
    } catch (const std::system_error&) {
        return;  // unreadable: keep what we have and try again at the next Load
    }
    listFileTime_ = *time;
    ClearLanguages();
    AddLanguagesFromFolder();
    AttachTemplatesFromFolder();
    ReadCatalogue(text);
}

void TLanguageManager::AddLanguagesFromFolder() {
    const std::string folder = HostFolder() + SyntaxDirectory;
    for (const std::string& fileName : ListFiles(folder, SyntaxFileExtension)) {
        const std::string name = LanguageNameOf(folder + fileName);
        if (name.empty())
            continue;
        AddLanguage(name);
        SetSyntaxFile(name, folder + fileName);
    }
}

void TLanguageManager::AttachTemplatesFromFolder() {
    const std::string folder = HostFolder() + TemplateDirectory;
    for (const std::string& fileName : ListFiles(folder, TemplateFileExtension))
        SetTemplateFile(LanguageNameOf(folder + fileName), folder + fileName);
}

// Every association of the section is read, however many there are. A key that occurs twice
// keeps the language of its first line, as a lookup by key would give.
void TLanguageManager::ReadCatalogue(std::string_view listFileText) {
    std::unordered_set<std::string> seen;
    for (const TIniFile::TEntry& entry : TIniFile::Parse(listFileText).SectionEntries(kFileAssociations)) {
        const std::string extension = ShortString(entry.Key);
        if (seen.insert(UpperKey(extension)).second)
            SetAssociation(extension, ShortString(entry.Value));
    }
}

void TLanguageManager::Save() const {
    const std::string listFile = ListFilePath();
    if (listFile.empty())
        throw std::system_error(ENOENT, std::generic_category(),
                                "Cannot save the language list: the host program's folder is unknown");
    std::error_code error;
    const bool exists = std::filesystem::exists(listFile, error);
    if (error)
        throw std::system_error(error, "Cannot read " + listFile);
    // The other sections of the file stay as they are, so an unreadable file is never replaced.
    TIniFile ini = TIniFile::Parse(exists ? ReadTextFile(listFile) : std::string());
    ini.EraseSection(kSyntaxSchemes);
    for (const TLanguage& language : languages_)
        ini.WriteString(kSyntaxSchemes, language.Name, language.SyntaxFile);
    ini.EraseSection(kCodeTemplates);
    for (const TLanguage& language : languages_)
        ini.WriteString(kCodeTemplates, language.Name, language.TemplateFile);
    ini.EraseSection(kFileAssociations);
    for (const TLanguageAssociation& association : associations_)
        ini.WriteString(kFileAssociations, association.Extension, association.Language);
    WriteTextFile(listFile, ini.Text());
}

// ---- The catalogue --------------------------------------------------------------------------

const TLanguage* TLanguageManager::Languages(int32_t index) const noexcept {
    return index >= 0 && index < LanguageCount() ? &languages_[std::size_t(index)] : nullptr;
}

const TLanguageAssociation* TLanguageManager::Associations(int32_t index) const noexcept {
    return index >= 0 && index < AssociationCount() ? &associations_[std::size_t(index)] : nullptr;
}

TLanguage* TLanguageManager::FindLanguage(std::string_view name) {
    const auto it = std::find_if(languages_.begin(), languages_.end(),
                                 [name](const TLanguage& l) { return SameName(l.Name, name); });
    return it == languages_.end() ? nullptr : &*it;
}

const TLanguage* TLanguageManager::FindLanguage(std::string_view name) const {
    return const_cast<TLanguageManager*>(this)->FindLanguage(name);
}

bool TLanguageManager::HasLanguage(std::string_view name) const { return FindLanguage(name) != nullptr; }

void TLanguageManager::AddLanguage(std::string_view name) {
    if (!HasLanguage(name))
        languages_.push_back({std::string(name), {}, {}});
}

void TLanguageManager::SetSyntaxFile(std::string_view name, std::string_view path) {
    if (TLanguage* language = FindLanguage(name))
        language->SyntaxFile = path;
    else
        languages_.push_back({std::string(name), std::string(path), {}});
}

void TLanguageManager::SetTemplateFile(std::string_view name, std::string_view path) {
    if (TLanguage* language = FindLanguage(name))
        language->TemplateFile = path;
}

void TLanguageManager::SetAssociation(std::string_view extension, std::string_view name) {
    if (!HasLanguage(name))
        return;
    const auto it =
        std::find_if(associations_.begin(), associations_.end(),
                     [extension](const TLanguageAssociation& a) { return SameName(a.Extension, extension); });
    if (it != associations_.end())
        it->Language = Trimmed(name);
    else
        associations_.push_back({std::string(Trimmed(extension)), std::string(Trimmed(name))});
}

void TLanguageManager::RemoveAssociations(std::string_view name) {
    std::erase_if(associations_,
                  [name](const TLanguageAssociation& a) { return SameName(a.Language, name); });
}

void TLanguageManager::ExtensionsOf(std::string_view name, std::vector<std::string>& list) const {
    for (const TLanguageAssociation& association : associations_)
        if (SameName(association.Language, name))
            list.push_back(association.Extension);
}

std::string TLanguageManager::LanguageOf(std::string_view extension) const {
    if (Trimmed(extension).empty())
        return {};
    for (const TLanguageAssociation& association : associations_)
        if (SameName(association.Extension, extension))
            return association.Language;
    return {};
}

std::string TLanguageManager::SyntaxFileOf(std::string_view name) const {
    const TLanguage* language = FindLanguage(name);
    return language ? language->SyntaxFile : std::string();
}

std::string TLanguageManager::TemplateFileOf(std::string_view name) const {
    const TLanguage* language = FindLanguage(name);
    return language ? language->TemplateFile : std::string();
}

std::string TLanguageManager::SyntaxPathFor(std::string_view name) const {
    return HostApi::ForceFileNameExtension(HostFolder() + SyntaxDirectory + std::string(name),
                                           SyntaxFileExtension);
}

std::string TLanguageManager::TemplatePathFor(std::string_view name) const {
    return HostApi::ForceFileNameExtension(HostFolder() + TemplateDirectory + std::string(name),
                                           TemplateFileExtension);
}

void TLanguageManager::DeleteLanguage(std::string_view name) {
    std::erase_if(languages_, [name](const TLanguage& language) {
        if (!SameName(language.Name, name))
            return false;
        if (IsExistingFile(language.SyntaxFile))
            RemoveFile(language.SyntaxFile);
        if (IsExistingFile(language.TemplateFile))
            RemoveFile(language.TemplateFile);
        return true;
    });
    RemoveAssociations(name);
}

void TLanguageManager::RenameLanguage(std::string_view oldName, std::string_view newName) {
    newName = Trimmed(newName);
    if (newName.empty() || !HasLanguage(oldName) || HasLanguage(newName))
        return;
    for (TLanguage& language : languages_) {
        if (!SameName(language.Name, oldName))
            continue;
        language.Name = newName;
        MoveLanguageFile(language.SyntaxFile, SyntaxPathFor(newName));
        MoveLanguageFile(language.TemplateFile, TemplatePathFor(newName));
    }
    for (TLanguageAssociation& association : associations_)
        if (SameName(association.Language, oldName))
            association.Language = newName;
}

void TLanguageManager::ClearLanguages() noexcept {
    languages_.clear();
    associations_.clear();
}

std::unique_ptr<TSyntaxScheme> TLanguageManager::NewScheme() {
    auto scheme = std::make_unique<TSyntaxScheme>();
    TSyntaxBlock& root = scheme->SyntaxBlocks.front();
    root.Name.clear();
    for (int* style : root.BlockStyles())
        *style = -1;
    return scheme;
}

}  // namespace tarnwick
