#include "hostapp/common_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <string>

#include "host/abi/parameter_list.h"
#include "hostapp/host_client.h"

namespace harbinet {

namespace {

// Colour values cross as 0x00BBGGRR.
QColor FromColorValue(long value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }
long ToColorValue(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

std::string Value(const TParameterList& request, const char* name) {
    return request.GetParameterValue(name).value_or("");
}

// The reply goes into the request's buffer; without one there is nowhere to answer. A reply
// that does not fit is never cut (a cut path names another file): the caller hears False.
bool Reply(char* params, int32_t capacity, const TParameterList& reply) {
    if (!params || capacity <= 0)
        return false;
    if (reply.FormatParameters().size() >= static_cast<std::size_t>(capacity)) {
        TParameterList refused;
        refused.AddParameter("Result", "False");
        refused.FormatParameters(params, static_cast<std::size_t>(capacity));
        return false;
    }
    reply.FormatParameters(params, static_cast<std::size_t>(capacity));
    return true;
}

TParameterList RunColorDialog(const TParameterList& request, QWidget* owner) {
    const std::string given = Value(request, "Color");
    const QColor initial = given.empty() ? QColor(Qt::white) : FromColorValue(std::stol(given));
    const QColor chosen = QColorDialog::getColor(initial, owner, "Color");
    TParameterList reply;
    reply.AddParameter("Result", chosen.isValid() ? "True" : "False");
    if (chosen.isValid())
        reply.AddParameter("Color", std::to_string(ToColorValue(chosen)));
    return reply;
}

// "FileType1", "FileType2", ... as a Qt filter list ("Text File (*.txt);;All Files (*)"). The
// pattern *.* means every file, as it does on the plug-in's home platform, not only names with
// a dot.
QStringList FileFilters(const TParameterList& request) {
    QStringList filters;
    for (int i = 1;; ++i) {
        const auto type = request.GetParameterValue("FileType" + std::to_string(i));
        if (!type)
            break;
        QString filter = QString::fromLocal8Bit(type->c_str());
        filter.replace(QRegularExpression(QStringLiteral(R"((^|[\s(;])\*\.\*(?=$|[\s);]))")),
                       QStringLiteral("\\1*"));
        filters << filter;
    }
    return filters;
}

// The file filter for a document kind the host knows; "" for one it does not.
QString DocumentKindFilter(const std::string& kind) {
    struct TKindFilter {
        const char* kind;
        const char* filter;
    };
    static constexpr TKindFilter kFilters[] = {
        {"EDIF", "EDIF Netlists (*.edf *.edn *.edif *.edo)"},
        {"TEXT", "Text Files (*.txt)"},
    };
    for (const TKindFilter& entry : kFilters)
        if (SameParameterName(kind, entry.kind))
            return entry.filter;
    return {};
}

// Mode 0 opens an existing file, mode 1 names a file to save; the prompt is the caption.
// "Result" and "Path" for a chosen path ("" when none was chosen). A parameter value cannot
// hold a vertical bar, so such a path cannot travel back: the user is told and the caller hears
// False.
TParameterList PathReply(const QString& chosen, QWidget* owner) {
    const std::string path = chosen.toLocal8Bit().toStdString();
    TParameterList reply;
    if (path.find('|') != std::string::npos) {
        QMessageBox::warning(
            owner, QStringLiteral("Harbinet"),
            QStringLiteral("The path %1 cannot be used: it contains a vertical bar.").arg(chosen));
        reply.AddParameter("Result", "False");
        return reply;
    }
    reply.AddParameter("Result", path.empty() ? "False" : "True");
    if (!path.empty())
        reply.AddParameter("Path", path);
    return reply;
}

TParameterList RunFileDialog(const TParameterList& request, QWidget* owner) {
    const bool saving = Value(request, "Mode") == "1";
    QFileDialog dialog(owner, QString::fromLocal8Bit(Value(request, "Prompt").c_str()));
    dialog.setObjectName(QStringLiteral("FileOpenSaveDialog"));
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (const QStringList filters = FileFilters(request); !filters.isEmpty())
        dialog.setNameFilters(filters);
    const QStringList chosen = dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
    return PathReply(chosen.isEmpty() ? QString() : chosen.front(), owner);
}

// "DDBBrowser": chooses a document of the kinds named by "DocumentKind1", "DocumentKind2", ...
TParameterList RunDocumentBrowser(const TParameterList& request, QWidget* owner) {
    QStringList filters;
    for (int i = 1;; ++i) {
        const auto kind = request.GetParameterValue("DocumentKind" + std::to_string(i));
        if (!kind)
            break;
        if (const QString filter = DocumentKindFilter(*kind); !filter.isEmpty())
            filters << filter;
    }
    filters << "All Files (*)";
    const QString caption = QString::fromLocal8Bit(Value(request, "Caption").c_str());
    return PathReply(QFileDialog::getOpenFileName(owner, caption, {}, filters.join(";;")), owner);
}

bool IsNumber(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos && text.size() < 11;
}

}  // namespace

void RegisterCommonDialogs(THostClient& client, QWidget* owner) {
    client.AddHostProcess("Client:RunCommonDialog", [owner](char* params, int32_t capacity, IServerView*) {
        TParameterList request;
        request.ParseParameters(params ? params : "");
        const std::string dialog = Value(request, "Dialog");
        const std::string color = Value(request, "Color");
        TParameterList reply;
        if (SameParameterName(dialog, "Color") && (color.empty() || IsNumber(color)))
            reply = RunColorDialog(request, owner);
        else if (SameParameterName(dialog, "FileOpenSave"))
            reply = RunFileDialog(request, owner);
        else if (SameParameterName(dialog, "DDBBrowser"))
            reply = RunDocumentBrowser(request, owner);
        else
            reply.AddParameter("Result", "False");  // a dialog this host does not offer
        return Reply(params, capacity, reply);
    });
}

}  // namespace harbinet
