#pragma once
#include "engine/app_kernel.h"

// Marks the engine busy in a nested message loop (a dialog, a prompt, a
// tracked menu) for the life of the object.
class ModalRun {
public:
    explicit ModalRun(CAppKernel& kernel) : m_Kernel(kernel) { ++m_Kernel.m_nModalDepth; }
    ~ModalRun() { --m_Kernel.m_nModalDepth; }
    ModalRun(const ModalRun&) = delete;
    ModalRun& operator=(const ModalRun&) = delete;

private:
    CAppKernel& m_Kernel;
};
