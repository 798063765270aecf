#pragma once
// The host's side of the link: the client, its user interface and process launcher, and the
// holder a plug-in window embeds into. Returned interfaces carry a reference the caller
// releases; interfaces passed as arguments are lent for the call.

#include "host/abi/unknown.h"

class INotification;
class IServerView;
class IServerDocument;

class IClientUserInterface : public IUnknownBase {
public:
    virtual void LaunchCurrentHotkey() = 0;  // slot 3
    TARNWICK_RESERVED_SLOT(4)
    // Non-zero when the keys complete a host shortcut; the caller then calls LaunchCurrentHotkey.
    virtual int32_t AddKeyStroke(int32_t key, int32_t alt, int32_t shift, int32_t ctrl) = 0;  // 5
    TARNWICK_RESERVED_SLOT(6)
    TARNWICK_RESERVED_SLOT(7)
    TARNWICK_RESERVED_SLOT(8)
    TARNWICK_RESERVED_SLOT(9)
    TARNWICK_RESERVED_SLOT(10)
    TARNWICK_RESERVED_SLOT(11)
    // Index -1 with an empty text clears the status line.
    virtual void SetStatusText(int32_t panel, const char* text) = 0;  // slot 12
};

class IProcessLauncher : public IUnknownBase {
public:
    TARNWICK_RESERVED_SLOT(3)
    // process is "Server:Process"; params may be rewritten with a reply within capacity.
    virtual int32_t RunProcess(const char* process, char* params, int32_t capacity,
                               IServerView* context) = 0;  // slot 4
};

class IExternalFormHolder : public IUnknownBase {
public:
    virtual intptr_t GetHolderWindow() = 0;  // slot 3: the window to embed into
};

class IClient : public IUnknownBase {
public:
    TARNWICK_RESERVED_SLOT(3)
    virtual void BroadcastNotification(INotification* notification) = 0;  // slot 4
    TARNWICK_RESERVED_SLOT(5)
    TARNWICK_RESERVED_SLOT(6)
    TARNWICK_RESERVED_SLOT(7)
    TARNWICK_RESERVED_SLOT(8)
    virtual intptr_t GetHelpOwnerWindow() = 0;  // slot 9
    TARNWICK_RESERVED_SLOT(10)
    TARNWICK_RESERVED_SLOT(11)
    TARNWICK_RESERVED_SLOT(12)
    virtual IServerView* GetCurrentView() = 0;  // slot 13
    TARNWICK_RESERVED_SLOT(14)
    virtual intptr_t GetOwnerWindow() = 0;  // slot 15
    TARNWICK_RESERVED_SLOT(16)
    virtual IClientUserInterface* GetUserInterface() = 0;  // slot 17
    TARNWICK_RESERVED_SLOT(18)
    TARNWICK_RESERVED_SLOT(19)
    TARNWICK_RESERVED_SLOT(20)
    TARNWICK_RESERVED_SLOT(21)
    TARNWICK_RESERVED_SLOT(22)
    TARNWICK_RESERVED_SLOT(23)
    virtual IServerDocument* OpenDocument(const char* kind, const char* path) = 0;  // slot 24
    TARNWICK_RESERVED_SLOT(25)
    TARNWICK_RESERVED_SLOT(26)
    TARNWICK_RESERVED_SLOT(27)
    TARNWICK_RESERVED_SLOT(28)
    TARNWICK_RESERVED_SLOT(29)
    TARNWICK_RESERVED_SLOT(30)
    virtual void ShowDocument(IServerDocument* document) = 0;  // slot 31
    TARNWICK_RESERVED_SLOT(32)
    TARNWICK_RESERVED_SLOT(33)
    TARNWICK_RESERVED_SLOT(34)
    TARNWICK_RESERVED_SLOT(35)
    TARNWICK_RESERVED_SLOT(36)
    TARNWICK_RESERVED_SLOT(37)
    TARNWICK_RESERVED_SLOT(38)
    // Path of the server module that provides name, or empty; owned by the client.
    virtual const char* GetServerFileName(const char* name) = 0;  // slot 39
};

TARNWICK_INTERFACE_ID(IClient, 0x4C11EF71, 0x6297, 0x4E2B, 0x90, 0xD1, 0x7F, 0x5F, 0x1A, 0x9E, 0x2A, 0xDE);
TARNWICK_INTERFACE_ID(IProcessLauncher, 0x8452C443, 0x703F, 0x4881, 0xB7, 0xAC, 0xC3, 0x35, 0x50, 0x79, 0x4A,
                      0xA6);
TARNWICK_INTERFACE_ID(IExternalFormHolder, 0x4BAA917E, 0x1FFF, 0x4381, 0x9A, 0x43, 0x24, 0x95, 0x2D, 0x17,
                      0x96, 0xB1);
// The host names no GUID for its user interface; this one is Harbinet's own.
TARNWICK_INTERFACE_ID(IClientUserInterface, 0x2F0C7A51, 0x8E3B, 0x4D6A, 0x9B, 0x21, 0x5C, 0x0E, 0x7D, 0x43,
                      0xA1, 0x18);
