#include "windows/PictureWin32.h"

#include <wincodec.h>
#include <wrl/client.h>

namespace kavrolt::win {

using Microsoft::WRL::ComPtr;

BitmapHandle LoadPicture(const wchar_t* resourceName) {
    const HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, resourceName, MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = resource ? SizeofResource(module, resource) : 0;
    if (!bytes || size == 0)
        return nullptr;

    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    BitmapHandle bitmap;
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICStream> stream;
        ComPtr<IWICBitmapDecoder> decoder;
        ComPtr<IWICBitmapFrameDecode> frame;
        ComPtr<IWICFormatConverter> converter;
        UINT width = 0, height = 0;
        if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_PPV_ARGS(&factory))) &&
            SUCCEEDED(factory->CreateStream(&stream)) &&
            SUCCEEDED(
                stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)), size)) &&
            SUCCEEDED(factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                                       WICDecodeMetadataCacheOnDemand, &decoder)) &&
            SUCCEEDED(decoder->GetFrame(0, &frame)) &&
            SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
            SUCCEEDED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA,
                                            WICBitmapDitherTypeNone, nullptr, 0,
                                            WICBitmapPaletteTypeCustom)) &&
            SUCCEEDED(converter->GetSize(&width, &height)) && width > 0 && height > 0) {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = static_cast<LONG>(width);
            info.bmiHeader.biHeight = -static_cast<LONG>(height); // top row first
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            void* pixels = nullptr;
            BitmapHandle section(
                CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
            if (section && pixels &&
                SUCCEEDED(converter->CopyPixels(nullptr, width * 4, width * height * 4,
                                                static_cast<BYTE*>(pixels))))
                bitmap = std::move(section);
        }
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return bitmap;
}

} // namespace kavrolt::win
