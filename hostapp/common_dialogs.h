#pragma once

class QWidget;

namespace harbinet {

// "Client:RunCommonDialog": the host's colour and file dialogs for plug-ins. The request names
// the dialog ("Dialog = Color | Color = 255", "Dialog=FileOpenSave|Mode=0|Prompt=...|
// FileType1=Text File (*.txt)", "Dialog=DDBBrowser|Caption=...|DocumentKind1=EDIF"); the reply, written into
// the same buffer within its capacity, says "Result=True" with the "Color" or "Path" chosen, or
// "Result=False".

class THostClient;

void RegisterCommonDialogs(THostClient& client, QWidget* owner);

}  // namespace harbinet
