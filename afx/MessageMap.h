#pragma once
// Message maps: per class, a table from message, notification code and control id to handler,
// chained to the base class's table.
//
// Portable; no back end provides anything here. Each entry holds a plain function (a template
// thunk instantiated for one member function) that casts the target down to the class that
// declares the handler and calls it, so no member-function pointer is ever converted.

#include <type_traits>

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

namespace afx_detail {

template <class T>
struct MemberOf;
template <class C, class R, class... A>
struct MemberOf<R (C::*)(A...)> {
    using Class = C;
};

template <auto Fn>
typename MemberOf<decltype(Fn)>::Class& Target(CCmdTarget& target) {
    using Class = typename MemberOf<decltype(Fn)>::Class;
    static_assert(std::is_base_of<CCmdTarget, Class>::value, "handlers belong to a CCmdTarget");
    // The map that holds this entry belongs to Class or a class derived from it, and it is only
    // consulted for objects of that class: the downcast is always to the object's own kind.
    return static_cast<Class&>(target);
}

// void OnXxx()
template <auto Fn>
LRESULT Call_v(CCmdTarget& target, const AfxMessage&) {
    (Target<Fn>(target).*Fn)();
    return 0;
}
// void OnSysCommand(UINT nID, LPARAM lParam)
template <auto Fn>
LRESULT Call_SysCommand(CCmdTarget& target, const AfxMessage& msg) {
    (Target<Fn>(target).*Fn)(static_cast<UINT>(msg.wParam), msg.lParam);
    return 0;
}
// HCURSOR OnQueryDragIcon()
template <auto Fn>
LRESULT Call_Handle(CCmdTarget& target, const AfxMessage&) {
    return reinterpret_cast<LRESULT>((Target<Fn>(target).*Fn)());
}
// void OnTimer(UINT_PTR nIDEvent)
template <auto Fn>
LRESULT Call_Timer(CCmdTarget& target, const AfxMessage& msg) {
    (Target<Fn>(target).*Fn)(static_cast<UINT_PTR>(msg.wParam));
    return 0;
}
// bool OnDeviceChange(UINT nEventType, LPARAM dwData): true grants what the event asks.
template <auto Fn>
LRESULT Call_DeviceChange(CCmdTarget& target, const AfxMessage& msg) {
    return (Target<Fn>(target).*Fn)(static_cast<UINT>(msg.wParam), msg.lParam) ? TRUE : FALSE;
}
// LRESULT OnXxx(WPARAM, LPARAM)
template <auto Fn>
LRESULT Call_Message(CCmdTarget& target, const AfxMessage& msg) {
    return (Target<Fn>(target).*Fn)(msg.wParam, msg.lParam);
}

}  // namespace afx_detail

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

// Commands: memberFxn is spelled &Class::Handler, void Handler().
#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)
#define ON_CONTROL(code, id, memberFxn) \
    {WM_COMMAND, (UINT)(code), (UINT)(id), &afx_detail::Call_v<memberFxn>},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)

// Window messages with the conventional handler names.
#define ON_WM_PAINT() {WM_PAINT, 0, 0, &afx_detail::Call_v<&ThisClass::OnPaint>},
#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, 0, &afx_detail::Call_SysCommand<&ThisClass::OnSysCommand>},
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, &afx_detail::Call_Handle<&ThisClass::OnQueryDragIcon>},
#define ON_WM_TIMER() {WM_TIMER, 0, 0, &afx_detail::Call_Timer<&ThisClass::OnTimer>},
#define ON_WM_DEVICECHANGE() \
    {WM_DEVICECHANGE, 0, 0, &afx_detail::Call_DeviceChange<&ThisClass::OnDeviceChange>},
// Any message: LRESULT Handler(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) {(UINT)(message), 0, 0, &afx_detail::Call_Message<memberFxn>},
