#include "platform/device.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "common/bmp.h"
#include "platform/window.h"

namespace platform {

DeviceState device;

namespace {

// The states a freshly created or reset device starts with.
void ApplyDefaultStates() {
    device.renderStates.fill(0);
    auto& rs = device.renderStates;
    rs[kRsZEnable] = device.params.enableAutoDepthStencil ? 1 : 0;
    rs[kRsFillMode] = 3;  // solid
    rs[kRsShadeMode] = 2;  // Gouraud
    rs[kRsZWriteEnable] = 1;
    rs[kRsAlphaTestEnable] = 0;
    rs[kRsSrcBlend] = kBlendOne;
    rs[kRsDestBlend] = kBlendZero;
    rs[kRsCullMode] = kCullCounterClockwise;
    rs[kRsZFunc] = kCmpLessEqual;
    rs[kRsAlphaRef] = 0;
    rs[kRsAlphaFunc] = kCmpAlways;
    rs[kRsDitherEnable] = 0;
    rs[kRsAlphaBlendEnable] = 0;
    rs[kRsLighting] = 1;
    rs[kRsAmbient] = 0;
    for (int stage = 0; stage < kTextureStages; ++stage) {
        auto& ts = device.stageStates[static_cast<std::size_t>(stage)];
        ts.fill(0);
        ts[kTssMagFilter] = kFilterPoint;
        ts[kTssMinFilter] = kFilterPoint;
        ts[kTssMipFilter] = kFilterNone;
    }
    device.world = Matrix::Identity();
    device.view = Matrix::Identity();
    device.projection = Matrix::Identity();
    device.material = Material{};
    device.textures.fill(0);
}

void AllocateBuffers() {
    const std::size_t pixels = static_cast<std::size_t>(kScreenWidth) * kScreenHeight;
    device.backBuffer.assign(pixels, 0);
    device.depthBuffer.assign(pixels, 0xFFFF);
    device.lastPresented.assign(pixels, 0);
}

bool ParamsSupported(const PresentParams& p) {
    return p.backBufferWidth == kScreenWidth && p.backBufferHeight == kScreenHeight &&
           p.backBufferFormat == kFormatR5G6B5 &&
           (!p.enableAutoDepthStencil || p.autoDepthStencilFormat == kFormatD16);
}

bool AnySurfaceHeld() {
    return std::any_of(device.liveSurfaces.begin(), device.liveSurfaces.end(),
                       [](const std::weak_ptr<Surface>& s) { return !s.expired(); });
}

SurfaceHandle TrackSurface(SurfaceHandle surface) {
    std::erase_if(device.liveSurfaces, [](const std::weak_ptr<Surface>& s) { return s.expired(); });
    device.liveSurfaces.push_back(surface);
    return surface;
}

// Losing the foreground loses the device, so every screen's device check holds the game still
// while the player is elsewhere; a minimised full-screen device is lost too (a minimised
// window's loops skip their frames anyway). Coming back leaves it waiting for a reset.
// Replays being shown play on without the focus.
void OnWindowActivity(bool focused, bool minimised) {
    if (!device.created) {
        return;
    }
    if ((!focused && window.pauseOnFocusLoss) || (minimised && window.fullscreen)) {
        device.cooperativeLevel = kErrDeviceLost;
    } else if (device.cooperativeLevel == kErrDeviceLost) {
        device.cooperativeLevel = kErrDeviceNotReset;
    }
}

}  // namespace

Matrix Matrix::Identity() {
    Matrix r;
    for (int i = 0; i < 4; ++i) {
        r.m[static_cast<std::size_t>(i)][static_cast<std::size_t>(i)] = 1.0f;
    }
    return r;
}

Matrix operator*(const Matrix& a, const Matrix& b) {
    Matrix r;
    for (std::size_t i = 0; i < 4; ++i) {
        for (std::size_t j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (std::size_t k = 0; k < 4; ++k) {
                sum += a.m[i][k] * b.m[k][j];
            }
            r.m[i][j] = sum;
        }
    }
    return r;
}

std::int32_t CreateDevice(const PresentParams& params) {
    if (!window.created || !ParamsSupported(params)) {
        return kErrNotAvailable;
    }
    device.params = params;
    AllocateBuffers();
    ApplyDefaultStates();
    device.inScene = false;
    device.cooperativeLevel = kOk;
    device.framesPresented = 0;
    device.created = true;
    window.activityHandler = OnWindowActivity;
    return kOk;
}

void ReleaseDevice() {
    device.created = false;
    // Managed textures go with the device.
    ReleaseAllTextures();
    device.backBuffer.clear();
    device.depthBuffer.clear();
    device.liveSurfaces.clear();
    window.activityHandler = nullptr;
}

std::int32_t Clear(std::uint32_t flags, std::uint32_t colour, float z, std::uint32_t /*stencil*/) {
    if (!device.created) {
        return kErrInvalidCall;
    }
    if (flags & kClearTarget) {
        std::fill(device.backBuffer.begin(), device.backBuffer.end(), ToR5G6B5(colour));
    }
    if (flags & kClearZBuffer) {
        if (!device.params.enableAutoDepthStencil) {
            return kErrInvalidCall;
        }
        const float clamped = std::clamp(std::isnan(z) ? 1.0f : z, 0.0f, 1.0f);
        std::fill(device.depthBuffer.begin(), device.depthBuffer.end(),
                  static_cast<std::uint16_t>(std::lround(clamped * 65535.0f)));
    }
    return kOk;
}

std::int32_t BeginScene() {
    if (!device.created || device.inScene) {
        return kErrInvalidCall;
    }
    device.inScene = true;
    return kOk;
}

std::int32_t EndScene() {
    if (!device.created || !device.inScene) {
        return kErrInvalidCall;
    }
    device.inScene = false;
    return kOk;
}

std::int32_t Present() {
    if (!device.created || device.inScene) {
        return kErrInvalidCall;
    }
    if (device.cooperativeLevel != kOk) {
        return kErrDeviceLost;
    }
    if (device_testing::switches.failPresents > 0) {
        --device_testing::switches.failPresents;
        return kErrFail;
    }
    if (!PresentToWindow(device.backBuffer, kScreenWidth, kScreenHeight)) {
        return kErrFail;
    }
    // Flip: the shown frame becomes the front buffer; the new back buffer holds stale pixels
    // until the next clear, as with a real flip chain.
    std::swap(device.lastPresented, device.backBuffer);
    ++device.framesPresented;
    return kOk;
}

std::int32_t TestCooperativeLevel() {
    if (!device.created) {
        return kErrInvalidCall;
    }
    return device.cooperativeLevel;
}

std::int32_t Reset(const PresentParams& params) {
    if (!device.created) {
        return kErrInvalidCall;
    }
    if (device.cooperativeLevel == kErrDeviceLost) {
        return kErrDeviceLost;
    }
    if (!ParamsSupported(params) || AnySurfaceHeld()) {
        return kErrInvalidCall;
    }
    device.params = params;
    AllocateBuffers();
    ApplyDefaultStates();
    device.inScene = false;
    device.cooperativeLevel = kOk;
    return kOk;
}

std::int32_t SetRenderState(std::uint32_t state, std::uint32_t value) {
    if (!device.created || state >= kRenderStateCount) {
        return kErrInvalidCall;
    }
    device.renderStates[state] = value;
    return kOk;
}

std::uint32_t GetRenderState(std::uint32_t state) {
    return state < kRenderStateCount ? device.renderStates[state] : 0;
}

std::int32_t SetTextureStageState(int stage, std::uint32_t type, std::uint32_t value) {
    if (!device.created || stage < 0 || stage >= kTextureStages || type >= kTextureStageStateCount) {
        return kErrInvalidCall;
    }
    device.stageStates[static_cast<std::size_t>(stage)][type] = value;
    return kOk;
}

std::uint32_t GetTextureStageState(int stage, std::uint32_t type) {
    if (stage < 0 || stage >= kTextureStages || type >= kTextureStageStateCount) {
        return 0;
    }
    return device.stageStates[static_cast<std::size_t>(stage)][type];
}

std::int32_t SetTransform(std::uint32_t type, const Matrix& matrix) {
    if (!device.created) {
        return kErrInvalidCall;
    }
    switch (type) {
        case kTransformWorld: device.world = matrix; return kOk;
        case kTransformView: device.view = matrix; return kOk;
        case kTransformProjection: device.projection = matrix; return kOk;
        default: return kErrInvalidCall;
    }
}

Matrix GetTransform(std::uint32_t type) {
    switch (type) {
        case kTransformWorld: return device.world;
        case kTransformView: return device.view;
        case kTransformProjection: return device.projection;
        default: return Matrix::Identity();
    }
}

std::int32_t SetMaterial(const Material& material) {
    if (!device.created) {
        return kErrInvalidCall;
    }
    device.material = material;
    return kOk;
}

std::int32_t SetTexture(int stage, TextureId texture) {
    if (!device.created || stage < 0 || stage >= kTextureStages) {
        return kErrInvalidCall;
    }
    device.textures[static_cast<std::size_t>(stage)] = texture;
    return kOk;
}

SurfaceHandle CreateImageSurface(int width, int height, int format) {
    if (!device.created || format != kFormatR5G6B5 || width <= 0 || height <= 0 ||
        width > 4096 || height > 4096) {
        return nullptr;
    }
    auto surface = std::make_shared<Surface>();
    surface->width = width;
    surface->height = height;
    surface->pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    return TrackSurface(surface);
}

SurfaceHandle GetRenderTarget() {
    if (!device.created) {
        return nullptr;
    }
    auto surface = std::make_shared<Surface>();
    surface->width = kScreenWidth;
    surface->height = kScreenHeight;
    surface->isRenderTarget = true;
    return TrackSurface(surface);
}

std::int32_t LoadSurfaceFromFile(Surface& surface, const std::filesystem::path& path, std::string* error) {
    const auto image = common::LoadBmpFile(path, error);
    if (!image) {
        return kErrInvalidCall;
    }
    std::uint16_t* dst = surface.isRenderTarget ? device.backBuffer.data() : surface.pixels.data();
    // Box-filter the picture onto the surface: each target pixel averages the source pixels it
    // covers (a plain copy when the sizes agree).
    for (int y = 0; y < surface.height; ++y) {
        const int y0 = static_cast<int>(static_cast<std::int64_t>(y) * image->height / surface.height);
        int y1 = static_cast<int>(static_cast<std::int64_t>(y + 1) * image->height / surface.height);
        y1 = std::max(y1, y0 + 1);
        for (int x = 0; x < surface.width; ++x) {
            const int x0 = static_cast<int>(static_cast<std::int64_t>(x) * image->width / surface.width);
            int x1 = static_cast<int>(static_cast<std::int64_t>(x + 1) * image->width / surface.width);
            x1 = std::max(x1, x0 + 1);
            std::uint32_t r = 0, g = 0, b = 0, n = 0;
            for (int sy = y0; sy < y1; ++sy) {
                for (int sx = x0; sx < x1; ++sx) {
                    const std::uint32_t p = image->At(sx, sy);
                    r += (p >> 16) & 0xFF;
                    g += (p >> 8) & 0xFF;
                    b += p & 0xFF;
                    ++n;
                }
            }
            const std::uint32_t argb = 0xFF000000u | ((r / n) << 16) | ((g / n) << 8) | (b / n);
            dst[static_cast<std::size_t>(y) * surface.width + x] = ToR5G6B5(argb);
        }
    }
    return kOk;
}

std::int32_t CopyRects(const Surface& source, Surface& destination) {
    if (!device.created || source.width != destination.width || source.height != destination.height) {
        return kErrInvalidCall;
    }
    const std::uint16_t* src = source.isRenderTarget ? device.backBuffer.data() : source.pixels.data();
    std::uint16_t* dst =
        destination.isRenderTarget ? device.backBuffer.data() : destination.pixels.data();
    if (src != dst) {
        std::memcpy(dst, src, static_cast<std::size_t>(source.width) * source.height * sizeof(std::uint16_t));
    }
    return kOk;
}

Matrix MatrixLookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up) {
    auto sub = [](Vector3 a, Vector3 b) { return Vector3{a.x - b.x, a.y - b.y, a.z - b.z}; };
    auto cross = [](Vector3 a, Vector3 b) {
        return Vector3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    };
    auto dot = [](Vector3 a, Vector3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
    auto normalise = [&](Vector3 a) {
        const float length = std::sqrt(dot(a, a));
        return length > 0 ? Vector3{a.x / length, a.y / length, a.z / length} : a;
    };
    const Vector3 zAxis = normalise(sub(at, eye));
    const Vector3 xAxis = normalise(cross(up, zAxis));
    const Vector3 yAxis = cross(zAxis, xAxis);
    Matrix r = Matrix::Identity();
    r.m[0] = {xAxis.x, yAxis.x, zAxis.x, 0};
    r.m[1] = {xAxis.y, yAxis.y, zAxis.y, 0};
    r.m[2] = {xAxis.z, yAxis.z, zAxis.z, 0};
    r.m[3] = {-dot(xAxis, eye), -dot(yAxis, eye), -dot(zAxis, eye), 1};
    return r;
}

Matrix MatrixTranslation(float x, float y, float z) {
    Matrix r = Matrix::Identity();
    r.m[3] = {x, y, z, 1};
    return r;
}

Matrix MatrixScaling(float x, float y, float z) {
    Matrix r = Matrix::Identity();
    r.m[0][0] = x;
    r.m[1][1] = y;
    r.m[2][2] = z;
    return r;
}

Matrix MatrixRotationX(float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    Matrix r = Matrix::Identity();
    r.m[1] = {0, c, s, 0};
    r.m[2] = {0, -s, c, 0};
    return r;
}

Matrix MatrixRotationY(float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    Matrix r = Matrix::Identity();
    r.m[0] = {c, 0, -s, 0};
    r.m[2] = {s, 0, c, 0};
    return r;
}

Matrix MatrixRotationZ(float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    Matrix r = Matrix::Identity();
    r.m[0] = {c, s, 0, 0};
    r.m[1] = {-s, c, 0, 0};
    return r;
}

namespace device_testing {

Switches switches;

void LoseDevice() {
    if (device.created) {
        device.cooperativeLevel = kErrDeviceLost;
    }
}

void RestoreDevice() {
    if (device.created && device.cooperativeLevel == kErrDeviceLost) {
        device.cooperativeLevel = kErrDeviceNotReset;
    }
}

void FailPresents(int count) { switches.failPresents = count; }

void UseReferenceTriangles(bool enabled) { switches.referenceTriangles = enabled; }

}  // namespace device_testing

}  // namespace platform
