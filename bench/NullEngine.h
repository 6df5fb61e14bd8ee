#pragma once

#include <mutex>

#include "zrwnd/Engine.h"

// An engine whose renderer draws nothing: what is measured is the toolkit.
class NullEngine final : public IZr2DEngine, public IDrvRender, public IEngineLock, public IEngineLog {
public:
    NullEngine(int w, int h) : width_(w), height_(h) {}

    HWND GetHWnd() override { return window; }
    void GetClientSize(int* w, int* h) override {
        if (w) *w = width_;
        if (h) *h = height_;
    }
    int GetRenderMode() override { return 1; }
    IDrvRender* GetRender() override { return this; }
    IEngineLog* GetLog() override { return this; }
    IEngineLock* GetLock() override { return this; }

    void FillRect(IDC*, int, int, int, int, std::uint32_t) override {}
    void FillRect(IDC*, const ZrRect*, std::uint32_t) override {}
    void DrawLine(IDC*, int, int, int, int, std::uint32_t) override {}
    IZrImage* CreateImage() override { return nullptr; }
    IFont2* CreateFont() override { return nullptr; }
    IFont2* GetDefaultFont() override { return defaultFont; }
    bool BeginScene() override { return true; }
    void PresentRect(const ZrRect*) override {}
    void EndScene() override {}
    bool RenderHandleMessage(UINT, WPARAM, LPARAM) override { return false; }

    void Lock() override { mutex_.lock(); }
    void Unlock() override { mutex_.unlock(); }
    void Print(const char*, ...) override {}

    // Windows made after Init take this as their font; none by default.
    IFont2* defaultFont = nullptr;
    // The native window the driver is handed.
    HWND window = reinterpret_cast<HWND>(0x10);

private:
    int width_;
    int height_;
    std::recursive_mutex mutex_;
};
