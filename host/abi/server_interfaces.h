#pragma once
// A plug-in's server module and what hangs off it: its process launcher, its process-depth
// counter and the schematic editor's entry. Returned interfaces carry a reference the caller
// releases; arguments are lent for the call.

#include "host/abi/unknown.h"

class IClient;
class INotification;
class IServerDocument;
class IServerView;

class ICommandLauncher : public IUnknownBase {
public:
    // Runs the process registered under name (no server prefix); 0 when there is none.
    virtual int32_t LaunchCommand(const char* name, char* params, int32_t capacity,
                                  IServerView* context) = 0;  // slot 3
    virtual void GetCommandState(const char* name, char* params, IServerView* context, int32_t* a, int32_t* b,
                                 int32_t* c, uint8_t* d, uint8_t* e) = 0;  // slot 4
};

class IProcessControl : public IUnknownBase {
public:
    virtual int32_t GetProcessDepth() = 0;                               // slot 3
    virtual void LeaveProcess(IServerView* context, int32_t value) = 0;  // slot 4
    virtual void EnterProcess(IServerView* context, int32_t value) = 0;  // slot 5
    virtual void SetProcessDepth(int32_t value) = 0;                     // slot 6
};

class IServerModule : public IUnknownBase {
public:
    virtual void ApplicationIdle() = 0;                                                   // slot 3
    virtual void ReceiveNotification(INotification* notification) = 0;                    // slot 4
    virtual IServerDocument* CreateDocument(const char* kind, const char* fileName) = 0;  // 5
    virtual void DestroyDocument(IServerDocument* document) = 0;                          // slot 6
    virtual IClient* GetClient() = 0;                                                     // slot 7
    virtual ICommandLauncher* GetCommandLauncher() = 0;                                   // slot 8
    virtual int32_t GetDocumentCount() = 0;                                               // slot 9
    virtual IServerDocument* GetDocument(int32_t index) = 0;                              // slot 10
    virtual intptr_t GetInstanceHandle() = 0;                                             // slot 11
    virtual const char* GetModuleName() = 0;                                              // slot 12
    virtual IProcessControl* GetProcessControl() = 0;                                     // slot 13
    virtual int32_t GetViewCount() = 0;                                                   // slot 14
    virtual IServerView* GetView(int32_t index) = 0;                                      // slot 15
    virtual int32_t ModuleReserved16() = 0;  // slot 16: returns 0
};

class IModelPropertiesEditor : public IUnknownBase {
public:
    // 0 on success with *result set; 0x8000FFFF when an error escaped the dialog.
    virtual int32_t EditModelProperties(intptr_t implementation, intptr_t component, int32_t flag,
                                        int32_t* result) = 0;  // slot 3
};

TARNWICK_INTERFACE_ID(IServerModule, 0xCF7702C4, 0x5044, 0x49E3, 0xBE, 0x46, 0x37, 0xB9, 0xF8, 0xFB, 0x82,
                      0x03);
TARNWICK_INTERFACE_ID(ICommandLauncher, 0xB3F5F50A, 0xC728, 0x462B, 0x8C, 0x35, 0x0A, 0xF0, 0x7A, 0xEF, 0xE6,
                      0xD5);
TARNWICK_INTERFACE_ID(IProcessControl, 0xBAF46BDA, 0x19A1, 0x4848, 0xBF, 0xAC, 0x2B, 0xEC, 0x07, 0x8C, 0x89,
                      0x11);
TARNWICK_INTERFACE_ID(IModelPropertiesEditor, 0xB384FBF0, 0x5441, 0x4222, 0xBC, 0x6B, 0x38, 0x17, 0x8D, 0xCB,
                      0x3E, 0x51);

// The one symbol a plug-in exports: stores its module, with one reference for the host.
extern "C" using TServerFactoryFunction = void(IServerModule * *module, IClient* client);
