#pragma once
// Finds help contexts for one window: each help file's ID list is read once, on first use,
// and a redirect sends the lookup to the help file of the server that the host names.

#include <functional>
#include <map>
#include <string>

#include "host/help_id_file.h"

namespace tarnwick {

struct THelpFiles {
    std::string main;     // <host folder>Help/<plug-in file name>.hlp
    std::string context;  // the same with "wth" before ".hlp", for control-level help
    std::string master;   // <host folder>Help/harbmaster.hlp
};

// The help files of the plug-in that contains this code, beside the running host program.
THelpFiles PluginHelpFiles();

class THelpContextFinder {
public:
    // name -> path of the server module that provides it (the host's GetServerFileName).
    using TServerFileLookup = std::function<std::string(const std::string& name)>;

    THelpContextFinder(std::string hostFolder, TServerFileLookup serverFile);
    // The context of key in helpFile, 0 when there is none. A redirect that resolves changes
    // helpFile to the file the context belongs to.
    int FindHelpContext(const std::string& key, std::string& helpFile);

private:
    const THelpIdFile& IdList(const std::string& helpFile);

    std::string hostFolder_;
    TServerFileLookup serverFile_;
    std::map<std::string, THelpIdFile> lists_;
};

// The host's folder with a trailing "/", and GetServerFileName through the process-wide client.
std::string HostProgramFolder();
std::string ServerFileNameFromHost(const std::string& name);

}  // namespace tarnwick
