// The pictures in the test program's resources (the shipped Pictures.rc):
// LoadPicture, which decodes them itself, against what the Windows Imaging
// Component gives for the same PNG in the format that the program used to
// ask it for, 32bppPBGRA.
#include "forms/PictureWin32.h"

#include <gtest/gtest.h>

#include <wincodec.h>
#include <windows.h>
#include <wrl/client.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace kavrolt::win {
namespace {

using Microsoft::WRL::ComPtr;

struct Decoded {
    UINT width = 0;
    UINT height = 0;
    std::vector<BYTE> pbgra;
};

// The RCDATA resource decoded by the Windows Imaging Component.
Decoded DecodeWithWic(const wchar_t* name) {
    Decoded result;
    const HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, name, MAKEINTRESOURCEW(10));
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    BYTE* bytes = loaded ? static_cast<BYTE*>(LockResource(loaded)) : nullptr;
    if (!bytes)
        return result;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&factory))) &&
        SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromMemory(bytes, SizeofResource(module, resource))) &&
        SUCCEEDED(factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA,
                                        WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&result.width, &result.height))) {
        result.pbgra.resize(static_cast<std::size_t>(result.width) * result.height * 4);
        if (FAILED(converter->CopyPixels(nullptr, result.width * 4,
                                         static_cast<UINT>(result.pbgra.size()),
                                         result.pbgra.data())))
            result.pbgra.clear();
    }
    return result;
}

class PictureWin32 : public ::testing::Test {
protected:
    void SetUp() override { com_ = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override {
        if (SUCCEEDED(com_))
            CoUninitialize();
    }
    HRESULT com_ = E_FAIL;
};

TEST_F(PictureWin32, EveryPictureHasThePixelsThatTheImagingComponentGives) {
    const wchar_t* const names[] = {
        L"BACKGROUND",  L"BACKGROUND150",  L"LOGO",    L"LOGO150",    L"NAV1",    L"NAV1_150",
        L"NAV2",        L"NAV2_150",       L"NAV3",    L"NAV3_150",   L"NAV4",    L"NAV4_150",
        L"ABOUTBANNER", L"ABOUTBANNER150", L"GAMEPAD", L"GAMEPAD150", L"WINWORK", L"WINWORK150",
        L"WINSERVER",   L"WINSERVER150",   L"CHIP",    L"CHIP150"};
    for (const wchar_t* name : names) {
        SCOPED_TRACE(std::string(name, name + std::wcslen(name)));
        const Decoded expected = DecodeWithWic(name);
        ASSERT_FALSE(expected.pbgra.empty()) << "the imaging component cannot decode it";

        const UniqueBitmap bitmap = LoadPicture(name);
        ASSERT_TRUE(bitmap);
        DIBSECTION section{};
        ASSERT_EQ(GetObjectW(bitmap.get(), sizeof section, &section), sizeof section);
        EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
        EXPECT_EQ(static_cast<UINT>(section.dsBm.bmWidth), expected.width);
        EXPECT_EQ(static_cast<UINT>(section.dsBm.bmHeight), expected.height);
        ASSERT_NE(section.dsBm.bmBits, nullptr);
        ASSERT_EQ(section.dsBm.bmWidthBytes, static_cast<LONG>(expected.width * 4));
        // The imaging component gives the top row first; so must the bits
        // (GetObject reports the height of a top-down section as positive).
        EXPECT_EQ(std::memcmp(section.dsBm.bmBits, expected.pbgra.data(), expected.pbgra.size()),
                  0);
    }
}

TEST_F(PictureWin32, AMissingOrForeignResourceGivesNoBitmap) {
    EXPECT_FALSE(LoadPicture(L"NOSUCHPICTURE"));
    // The caption table is RCDATA too, but no PNG.
    EXPECT_FALSE(LoadPicture(L"ENGLISH"));
}

} // namespace
} // namespace kavrolt::win
