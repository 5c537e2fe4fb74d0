#pragma once
// Device contexts: CDC wraps a handle; CPaintDC begins painting a window on construction and ends
// it on destruction. The back end keeps what it needs between the two in CPaintDC::State.

#include <memory>

#include "afx/Types.h"

class CWnd;

class CDC {
public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() = default;

    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }

    bool DrawIcon(int x, int y, HICON hIcon);
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    struct State;  // defined by the back end

private:
    std::unique_ptr<State> m_state;
};
