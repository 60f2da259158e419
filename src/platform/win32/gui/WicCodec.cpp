#include "platform/win32/gui/WicCodec.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

// Holds one reference to a COM object and releases it when it goes.
template <typename T>
class Com {
public:
    Com() = default;
    ~Com() {
        if (p != nullptr) p->Release();
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    T* operator->() const { return p; }
    T* p = nullptr;
};

// The imaging factory, made once for the process on this (the window) thread.
IWICImagingFactory* Factory() {
    static IWICImagingFactory* const factory = [] {
        // Already initialised in another mode is fine: the factory is free-threaded.
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        IWICImagingFactory* made = nullptr;
        if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(&made))))
            return static_cast<IWICImagingFactory*>(nullptr);
        return made;
    }();
    return factory;
}

// Swaps the first and third byte of every pixel: RGB to BGR.
void SwapRedBlue(std::uint8_t* pixels, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, pixels += 3) std::swap(pixels[0], pixels[2]);
}

bool SetQuality(IPropertyBag2* options, float quality) {
    PROPBAG2 name{};
    name.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
    VARIANT value;
    std::memset(&value, 0, sizeof value);
    value.vt = VT_R4;
    value.fltVal = quality;
    return SUCCEEDED(options->Write(1, &name, &value));
}

// The bytes written to a memory stream.
std::string StreamBytes(IStream* stream) {
    STATSTG stat{};
    HGLOBAL memory = nullptr;
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(stream, &memory))) return {};
    const auto* bytes = static_cast<const char*>(GlobalLock(memory));
    if (bytes == nullptr) return {};
    std::string copy(bytes, static_cast<std::size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    return copy;
}

} // namespace

std::string WicEncode(const RgbImage& picture, const GUID& container, float quality) {
    IWICImagingFactory* factory = Factory();
    if (picture.Empty() || factory == nullptr) return {};
    Com<IStream> stream;
    Com<IWICBitmapEncoder> encoder;
    Com<IWICBitmapFrameEncode> frame;
    Com<IPropertyBag2> options;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream.p)) ||
        FAILED(factory->CreateEncoder(container, nullptr, &encoder.p)) ||
        FAILED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame.p, &options.p)))
        return {};
    if (quality >= 0 && !SetQuality(options.p, quality)) return {};
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    const UINT width = static_cast<UINT>(picture.width);
    const UINT height = static_cast<UINT>(picture.height);
    if (FAILED(frame->Initialize(options.p)) || FAILED(frame->SetSize(width, height)) ||
        FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
        return {};
    std::vector<std::uint8_t> bgr = picture.pixels;
    SwapRedBlue(bgr.data(), bgr.size() / 3);
    if (FAILED(frame->WritePixels(height, width * 3, static_cast<UINT>(bgr.size()), bgr.data())) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return {};
    return StreamBytes(stream.p);
}
