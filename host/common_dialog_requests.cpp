#include "host/common_dialog_requests.h"

#include <QByteArray>
#include <QColor>
#include <climits>
#include <cstdint>
#include <vector>

#include "host/abi/ascii_text.h"
#include "host/abi/parameter_list.h"
#include "host/host_processes.h"
#include "widgets/colors.h"

namespace tarnwick {

namespace {

constexpr char kCommonDialogProcess[] = "CLient:RunCommonDialog";
constexpr std::size_t kColorRequestCapacity = 4048;

// The host's dialog answers in the request's buffer.
TParameterList RunCommonDialog(const std::string& request, std::size_t capacity) {
    std::vector<char> params(capacity, '\0');
    request.copy(params.data(), capacity - 1);
    TParameterList reply;
    if (RunHostProcess(kCommonDialogProcess, params.data(), int32_t(capacity), nullptr))
        reply.ParseParameters(params.data());
    return reply;
}

bool Confirmed(const TParameterList& reply) {
    const std::optional<std::string> result = reply.GetParameterValue("Result");
    return result && ascii::Upper(*result) == "TRUE";
}

// The host's colour dialog takes RGB values only.
TColorValue RgbOf(TColorValue color) {
    if ((color & clSystemColor) == 0)
        return color;
    const QColor shown = ResolveColor(color);
    return TColorValue(shown.red()) | TColorValue(shown.green()) << 8 | TColorValue(shown.blue()) << 16;
}

}  // namespace

std::optional<TColorValue> AskHostForColor(TColorValue color) {
    const TParameterList reply =
        RunCommonDialog("Dialog = Color | Color = " + std::to_string(RgbOf(color)), kColorRequestCapacity);
    const std::optional<std::string> chosen = reply.GetParameterValue("Color");
    if (!Confirmed(reply) || !chosen)
        return std::nullopt;
    bool ok = false;
    const qlonglong value = QByteArray::fromStdString(*chosen).trimmed().toLongLong(&ok, 10);
    if (!ok || value < INT32_MIN || value > UINT32_MAX)
        return std::nullopt;
    return static_cast<TColorValue>(value);  // a negative value is a system colour
}

// A path is longer than a short string now and then, so it is read whole rather than cut.
std::optional<std::string> AskHostForFile(const std::string& request) {
    const TParameterList reply = RunCommonDialog(request, kParameterStringLimit);
    const TParameter* path = reply.FindParameter("Path");
    if (!Confirmed(reply) || !path || !path->Value)
        return std::nullopt;
    const std::string_view trimmed = TrimParameterText(*path->Value);
    if (trimmed.empty())
        return std::nullopt;
    return std::string(trimmed);
}

}  // namespace tarnwick
