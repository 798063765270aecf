#pragma once
// Documents, their views and the windows the host embeds, and the notifications about them.
// Returned interfaces carry a reference the caller releases; arguments are lent for the call.

#include "host/abi/unknown.h"

class IServerModule;
class IServerDocument;
class IExternalFormHolder;

class INotification : public IUnknownBase {
public:
    virtual int32_t GetCode() = 0;                  // slot 3
    virtual IServerDocument* GetDocument() = 0;     // slot 4
    virtual const char* GetNotificationText() = 0;  // slot 5
};

// The same three operations; a notification about a document offers both.
class IDocumentNotification : public INotification {};

class IExternalForm : public IUnknownBase {
public:
    virtual void SetHolder(IExternalFormHolder* holder) = 0;                                   // slot 3
    virtual void AttachToHolder() = 0;                                                         // slot 4
    virtual void Detach() = 0;                                                                 // slot 5
    virtual void GetBounds(int32_t* left, int32_t* top, int32_t* width, int32_t* height) = 0;  // 6
    virtual const char* GetCaption() = 0;                                                      // slot 7
    virtual intptr_t GetWindowHandle() = 0;                                                    // slot 8
    virtual void Hide() = 0;                                                                   // slot 9
    virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) = 0;      // 10
    virtual void SetFocus() = 0;                                                               // slot 11
    virtual void Show() = 0;                                                                   // slot 12
};

class IServerView : public IExternalForm {
public:
    virtual int32_t IsPanel() = 0;                                  // slot 13
    virtual const char* GetViewName() = 0;                          // slot 14
    virtual const char* GetDocumentKind() = 0;                      // slot 15
    virtual void ReceiveViewNotification(INotification* note) = 0;  // slot 16
};

class IServerDocumentView : public IServerView {
public:
    virtual IServerDocument* GetOwnerDocument() = 0;  // slot 17
    TARNWICK_RESERVED_SLOT(18)
};

class IServerDocument : public IUnknownBase {
public:
    virtual void AttachView(IServerDocumentView* view) = 0;       // slot 3
    virtual void SetDocumentModified(int32_t modified) = 0;       // slot 4
    virtual void SetHostValueA(int32_t value) = 0;                // slot 5
    virtual void SetHostValueB(int32_t value) = 0;                // slot 6
    virtual void DocumentReserved7() = 0;                         // slot 7: does nothing
    virtual int32_t LoadDocument() = 0;                           // slot 8
    virtual int32_t SaveDocument(const char* name) = 0;           // slot 9
    virtual int32_t IsUnchanged() = 0;                            // slot 10
    virtual int32_t GetViewCount() = 0;                           // slot 11
    virtual const char* GetFileName() = 0;                        // slot 12
    virtual int32_t SetFileName(const char* path) = 0;            // slot 13
    virtual const char* GetKind() = 0;                            // slot 14
    virtual int32_t GetDocumentModified() = 0;                    // slot 15
    virtual int32_t GetHostValueA() = 0;                          // slot 16
    virtual int32_t GetHostValueB() = 0;                          // slot 17
    virtual IServerModule* GetServerModule() = 0;                 // slot 18
    virtual IServerDocumentView* GetView(int32_t index) = 0;      // slot 19
    virtual IServerDocumentView* FindView(const char* name) = 0;  // slot 20
    virtual void NotifyViews(INotification* note) = 0;            // slot 21
};

TARNWICK_INTERFACE_ID(IServerDocument, 0xAFC2251E, 0xCC50, 0x4C65, 0xB5, 0x8F, 0x4C, 0x87, 0xF5, 0xF1, 0x95,
                      0x84);
TARNWICK_INTERFACE_ID(IExternalForm, 0x85961389, 0x4EF1, 0x4825, 0x83, 0x7C, 0xAC, 0xB0, 0x84, 0xEA, 0xD2,
                      0x6D);
TARNWICK_INTERFACE_ID(IServerView, 0xE41CD335, 0x2DA9, 0x45DA, 0x84, 0xBB, 0x7A, 0x20, 0x65, 0xF0, 0xE1,
                      0x07);
TARNWICK_INTERFACE_ID(IServerDocumentView, 0xCBB0773D, 0xD227, 0x45E6, 0x84, 0x79, 0x0C, 0x6B, 0xB1, 0x3D,
                      0xC8, 0xD3);
TARNWICK_INTERFACE_ID(INotification, 0x467DF16E, 0x5433, 0x43C2, 0x8B, 0x16, 0x7A, 0x64, 0x60, 0x38, 0x11,
                      0xF2);
TARNWICK_INTERFACE_ID(IDocumentNotification, 0x85857F06, 0xB665, 0x4EA4, 0x91, 0x5E, 0x75, 0x2F, 0x02, 0x7C,
                      0x32, 0xB2);
