#pragma once
// Small owners for Windows handles, COM pointers, BSTRs and VARIANTs, so that
// every path out of a function releases what it made.

#include <windows.h>
#include <oleauto.h>
#include <unknwn.h>
#include <userenv.h>

#include <utility>

template <typename T, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(T value) : value_(value) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::invalid(); }
    T release() { return std::exchange(value_, Traits::invalid()); }
    void reset(T value = Traits::invalid())
    {
        T old = std::exchange(value_, value);
        if (old != Traits::invalid()) Traits::close(old);
    }
    // For out-parameters: releases the current value first.
    T* put()
    {
        reset();
        return &value_;
    }

private:
    T value_ = Traits::invalid();
};

template <typename T, auto Close>
struct NullIsInvalid {
    static constexpr T invalid() { return nullptr; }
    static void close(T value) { Close(value); }
};

struct KernelHandleTraits {
    static HANDLE invalid() { return nullptr; }
    static void close(HANDLE value) { CloseHandle(value); }
};

struct GdiObjectTraits {
    static HGDIOBJ invalid() { return nullptr; }
    static void close(HGDIOBJ value) { DeleteObject(value); }
};

inline void destroyWindowIfAlive(HWND window)
{
    if (IsWindow(window)) DestroyWindow(window);
}

using UniqueHandleKernel = UniqueHandle<HANDLE, KernelHandleTraits>;
using UniqueWindow = UniqueHandle<HWND, NullIsInvalid<HWND, destroyWindowIfAlive>>;
using UniqueIcon = UniqueHandle<HICON, NullIsInvalid<HICON, DestroyIcon>>;
using UniqueFont = UniqueHandle<HFONT, NullIsInvalid<HFONT, DeleteObject>>;
using UniqueBrush = UniqueHandle<HBRUSH, NullIsInvalid<HBRUSH, DeleteObject>>;
using UniqueBitmap = UniqueHandle<HBITMAP, NullIsInvalid<HBITMAP, DeleteObject>>;
using UniqueLocal = UniqueHandle<HLOCAL, NullIsInvalid<HLOCAL, LocalFree>>;
using UniqueRegKey = UniqueHandle<HKEY, NullIsInvalid<HKEY, RegCloseKey>>;
using UniqueBstr = UniqueHandle<BSTR, NullIsInvalid<BSTR, SysFreeString>>;

// A COM interface pointer that is released exactly once.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already owns.
    static ComPtr attach(T* raw)
    {
        ComPtr result;
        result.ptr_ = raw;
        return result;
    }
    ComPtr(const ComPtr& other) : ptr_(other.ptr_)
    {
        if (ptr_) ptr_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(ptr_, other.ptr_);
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    void reset()
    {
        if (T* old = std::exchange(ptr_, nullptr)) old->Release();
    }
    T** put()
    {
        reset();
        return &ptr_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    template <typename U>
    ComPtr<U> as() const
    {
        ComPtr<U> result;
        if (ptr_) ptr_->QueryInterface(__uuidof(U), result.putVoid());
        return result;
    }

private:
    T* ptr_ = nullptr;
};

// A VARIANT that is cleared when it goes out of scope.
class UniqueVariant {
public:
    UniqueVariant() { VariantInit(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { VariantClear(&value_); }

    VARIANT* get() { return &value_; }
    const VARIANT* get() const { return &value_; }
    VARIANT* put()
    {
        VariantClear(&value_);
        return &value_;
    }

private:
    VARIANT value_;
};

// Handles whose "none" value is INVALID_HANDLE_VALUE rather than null.
struct FileHandleTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE value) { CloseHandle(value); }
};

struct FindHandleTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE value) { FindClose(value); }
};

using UniqueFile = UniqueHandle<HANDLE, FileHandleTraits>;
using UniqueFind = UniqueHandle<HANDLE, FindHandleTraits>;

using UniqueSafeArray = UniqueHandle<SAFEARRAY*, NullIsInvalid<SAFEARRAY*, SafeArrayDestroy>>;

// The environment block CreateEnvironmentBlock builds for a user.
inline void destroyEnvironmentBlock(void* block)
{
    DestroyEnvironmentBlock(block);
}
// This process's own environment, as GetEnvironmentStringsW hands it out.
inline void freeEnvironmentStrings(wchar_t* strings)
{
    FreeEnvironmentStringsW(strings);
}
using UniqueEnvironmentBlock = UniqueHandle<void*, NullIsInvalid<void*, destroyEnvironmentBlock>>;
using UniqueEnvironmentStrings = UniqueHandle<wchar_t*, NullIsInvalid<wchar_t*, freeEnvironmentStrings>>;
