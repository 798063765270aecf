#include "hostapp/harbinet_state.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace harbinet {

namespace {

constexpr qint64 kLargestStateBytes = 4 << 20;  // a real one is a few kilobytes

QByteArray BytesOf(const QJsonValue& value) { return QByteArray::fromBase64(value.toString().toLatin1()); }

std::vector<TSessionFile> SessionFilesOf(const QJsonValue& value) {
    std::vector<TSessionFile> files;
    for (const QJsonValue& entry : value.toArray()) {
        const QJsonObject file = entry.toObject();
        const QString path = file.value("path").toString();
        if (!path.isEmpty())
            files.push_back({path, qMax(0, file.value("caretLine").toInt())});
    }
    return files;
}

QStringList PathsOf(const QJsonValue& value) {
    QStringList paths;
    for (const QJsonValue& entry : value.toArray())
        if (entry.isString() && !entry.toString().isEmpty())
            paths << entry.toString();
    return paths;
}

QJsonObject JsonOf(const THarbinetState& state) {
    QJsonArray openFiles;
    for (const TSessionFile& file : state.openFiles)
        openFiles.append(QJsonObject{{"path", file.path}, {"caretLine", file.caretLine}});
    return {
        {"geometry", QString::fromLatin1(state.geometry.toBase64())},
        {"windowState", QString::fromLatin1(state.windowState.toBase64())},
        {"openFiles", openFiles},
        {"currentFile", state.currentFile},
        {"recentFiles", QJsonArray::fromStringList(state.recentFiles)},
    };
}

}  // namespace

QString HarbinetStatePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/Harbinet/harbinet-state.json";
}

THarbinetState ReadHarbinetState(const QString& path, QString& problem) {
    problem.clear();
    QFile file(path);
    if (!file.exists())
        return {};
    const QString ignored = "Ignored Harbinet's saved state in " + path + ": ";
    if (!file.open(QIODevice::ReadOnly)) {
        problem = ignored + file.errorString() + ".";
        return {};
    }
    if (file.size() > kLargestStateBytes) {
        problem = ignored + "the file is too large to be one.";
        return {};
    }
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError) {
        problem = ignored + error.errorString() + " at byte " + QString::number(error.offset) + ".";
        return {};
    }
    if (!json.isObject()) {
        problem = ignored + "it holds no state.";
        return {};
    }
    const QJsonObject root = json.object();
    THarbinetState state;
    state.geometry = BytesOf(root.value("geometry"));
    state.windowState = BytesOf(root.value("windowState"));
    state.openFiles = SessionFilesOf(root.value("openFiles"));
    state.currentFile = root.value("currentFile").toInt(-1);
    state.recentFiles = PathsOf(root.value("recentFiles"));
    return state;
}

bool WriteHarbinetState(const QString& path, const THarbinetState& state, QString& problem) {
    problem.clear();
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder)) {
        problem = "Cannot save Harbinet's state: cannot create the folder " + folder + ".";
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(JsonOf(state)).toJson()) < 0 ||
        !file.commit()) {
        problem = "Cannot save Harbinet's state in " + path + ": " + file.errorString() + ".";
        return false;
    }
    return true;
}

}  // namespace harbinet
