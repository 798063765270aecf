#include "host/help_context_finder.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <algorithm>

#include "host/abi/client_interfaces.h"
#include "host/client.h"

namespace tarnwick {

namespace {

bool IsFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string BaseNameWithoutExtension(const std::string& path) {
    const auto slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string PluginLibraryPath() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&PluginHelpFiles), &info) == 0 || !info.dli_fname)
        return {};
    return info.dli_fname;
}

}  // namespace

std::string HostProgramFolder() {
    if (!QCoreApplication::instance())
        return {};
    return QCoreApplication::applicationDirPath().toStdString() + "/";
}

std::string ServerFileNameFromHost(const std::string& name) {
    IClient* client = GlobalClient();
    const char* path = client ? client->GetServerFileName(name.c_str()) : nullptr;
    return path ? path : "";
}

THelpFiles PluginHelpFiles() {
    const std::string help = HostProgramFolder() + "Help/";
    const std::string base = BaseNameWithoutExtension(PluginLibraryPath());
    return {help + base + ".hlp", help + base + "wth.hlp", help + "harbmaster.hlp"};
}

THelpContextFinder::THelpContextFinder(std::string hostFolder, TServerFileLookup serverFile)
    : hostFolder_(std::move(hostFolder)), serverFile_(std::move(serverFile)) {}

const THelpIdFile& THelpContextFinder::IdList(const std::string& helpFile) {
    auto it = lists_.find(helpFile);
    if (it == lists_.end())
        it = lists_.emplace(helpFile, THelpIdFile::Read(HelpIdFileFor(helpFile))).first;
    return it->second;
}

int THelpContextFinder::FindHelpContext(const std::string& key, std::string& helpFile) {
    const THelpIdEntry* entry = IdList(helpFile).Find(key);
    if (!entry)
        return 0;
    if (entry->redirect.empty())
        return entry->context;

    const std::string serverFile = serverFile_ ? serverFile_(entry->redirect) : std::string();
    if (serverFile.empty())
        return 0;
    const std::string redirected = hostFolder_ + "Help/" + BaseNameWithoutExtension(serverFile) + ".hlp";
    if (!IsFile(redirected))
        return 0;
    std::string redirectedKey = entry->redirect;
    std::replace(redirectedKey.begin(), redirectedKey.end(), ':', '_');
    const THelpIdEntry* target = IdList(redirected).Find(redirectedKey);
    helpFile = redirected;
    return target && target->redirect.empty() ? target->context : 0;
}

}  // namespace tarnwick
