#pragma once
// Message maps: per class, a table from message, notification code and control id to handler,
// chained to the base class's table.
//
// Portable; no back end provides anything here. Each entry holds a plain function that casts the
// target down to the class whose map holds the entry and calls the handler with the message's
// parameters, so no member-function pointer is ever converted.

#include "afx/Types.h"

class CCmdTarget;

// One message as the dispatcher sees it.
struct AfxMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

using AfxHandler = LRESULT (*)(CCmdTarget& target, const AfxMessage& msg);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // 0 ends the table
    UINT nCode;     // WM_COMMAND: notification code; otherwise 0
    UINT nID;       // WM_COMMAND: control or command id; otherwise 0
    AfxHandler pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // nullptr at the root
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Root of everything that receives messages or commands.
class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP* GetThisMessageMap();

    // A command (WM_COMMAND's id and code) to this object's map; true when a handler ran.
    virtual bool OnCmdMsg(UINT nID, UINT nCode);

    // Any message to this object's map; true and *pResult set when a handler ran.
    bool DispatchMessageMap(const AfxMessage& msg, LRESULT* pResult);
};

#define DECLARE_MESSAGE_MAP()                         \
protected:                                            \
    static const AFX_MSGMAP* GetThisMessageMap();     \
    const AFX_MSGMAP* GetMessageMap() const override; \
                                                      \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
        using ThisClass [[maybe_unused]] = theClass;                                  \
        using TheBaseClass = baseClass;                                               \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                         \
    { 0, 0, 0, nullptr }                                                                          \
    }                                                                                             \
    ;                                                                                             \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                           \
    }

// An entry: its function runs the statements given with `self`, the target, and `msg`. A map
// belongs to ThisClass and is only consulted for objects of that class or a class derived from
// it: the downcast is always to the object's own kind.
#define AFX_MSGMAP_ENTRY_OF(message, code, id, ...)                              \
    {(UINT)(message), (UINT)(code), (UINT)(id),                                  \
     [](CCmdTarget& target, [[maybe_unused]] const AfxMessage& msg) -> LRESULT { \
         [[maybe_unused]] ThisClass& self = static_cast<ThisClass&>(target);     \
         __VA_ARGS__                                                             \
     }},

// Commands: memberFxn is spelled &Class::Handler, void Handler().
#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)
#define ON_CONTROL(code, id, memberFxn) \
    AFX_MSGMAP_ENTRY_OF(WM_COMMAND, code, id, (self.*(memberFxn))(); return 0;)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)

// Window messages with the conventional handler names.
#define ON_WM_PAINT() AFX_MSGMAP_ENTRY_OF(WM_PAINT, 0, 0, self.OnPaint(); return 0;)
#define ON_WM_SYSCOMMAND()                                                            \
    AFX_MSGMAP_ENTRY_OF(WM_SYSCOMMAND, 0, 0,                                          \
                        self.OnSysCommand(static_cast<UINT>(msg.wParam), msg.lParam); \
                        return 0;)
#define ON_WM_QUERYDRAGICON()                   \
    AFX_MSGMAP_ENTRY_OF(WM_QUERYDRAGICON, 0, 0, \
                        return reinterpret_cast<LRESULT>(self.OnQueryDragIcon());)
#define ON_WM_TIMER() \
    AFX_MSGMAP_ENTRY_OF(WM_TIMER, 0, 0, self.OnTimer(static_cast<UINT_PTR>(msg.wParam)); return 0;)
// bool OnDeviceChange(UINT nEventType, LPARAM dwData): true grants what the event asks.
#define ON_WM_DEVICECHANGE()                                                                 \
    AFX_MSGMAP_ENTRY_OF(                                                                     \
        WM_DEVICECHANGE, 0, 0,                                                               \
        const bool granted = self.OnDeviceChange(static_cast<UINT>(msg.wParam), msg.lParam); \
        return granted ? TRUE : FALSE;)
// Any message: LRESULT Handler(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) \
    AFX_MSGMAP_ENTRY_OF(message, 0, 0, return (self.*(memberFxn))(msg.wParam, msg.lParam);)
