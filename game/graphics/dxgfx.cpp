#include "game/graphics/dxgfx.h"

#include <stdexcept>
#include <string>

#include "game/graphics/fonts.h"
#include "game/graphics/meshes.h"
#include "game/graphics/sprites.h"
#include "platform/message_box.h"
#include "platform/window.h"

namespace graphics {

Dxgfx dxgfx;

namespace {

// The states that never change: lighting on, depth test on, a grey ambient light; linear
// filtering; the identity world and the look-at view.
bool ApplyFixedStates() {
    using namespace platform;
    if (SetRenderState(kRsLighting, 1) < 0 || SetRenderState(kRsZEnable, 1) < 0 ||
        SetRenderState(kRsAmbient, 0xCFCFCF) < 0) {
        return false;
    }
    if (SetTextureStageState(0, kTssMagFilter, kFilterLinear) < 0 ||
        SetTextureStageState(0, kTssMinFilter, kFilterLinear) < 0) {
        return false;
    }
    dxgfx.matWorld = Matrix::Identity();
    if (SetTransform(kTransformWorld, dxgfx.matWorld) < 0) {
        return false;
    }
    dxgfx.matView = MatrixLookAtLH(MakeVector(0, 0, 1), MakeVector(0, 0, 0), MakeVector(0, 1, 0));
    return SetTransform(kTransformView, dxgfx.matView) >= 0;
}

}  // namespace

platform::Vector3 MakeVector(float x, float y, float z) { return {x, y, z}; }

void InitD3D() {
    using namespace platform;
    if (!dxgfx.dx) {
        ShowMessageBox("DirectX 8 needed, sorry.", "Starwake", MessageButtons::kOkOnly,
                       MessageIcon::kExclamation);
        return;
    }
    PresentParams& p = dxgfx.presentParams;
    p = PresentParams{};
    p.backBufferWidth = kScreenWidth;
    p.backBufferHeight = kScreenHeight;
    p.backBufferFormat = kFormatR5G6B5;
    p.backBufferCount = 2;
    p.multiSampleType = 0;
    p.swapEffect = 2;
    p.windowed = false;
    p.enableAutoDepthStencil = true;
    p.autoDepthStencilFormat = kFormatD16;
    dxgfx.hasDevice = CreateDevice(p) == kOk;
    if (!dxgfx.hasDevice) {
        return;
    }
    ApplyFixedStates();
    InitGeometry();
    ResetSpriteRenderer();
    ClearTexturePool();
    ClearFontPool();
    SetSpriteScale(0.8f, 0.6f);
}

void SetupRenderStates() {
    if (!ApplyFixedStates()) {
        return;
    }
    ResetSpriteRenderer();
}

void BeginFrame() {
    using namespace platform;
    const std::int32_t cleared = Clear(kClearTarget | kClearZBuffer, 0, 1.0f, 0);
    if (cleared < 0) {
        throw DeviceError("Clear failed", cleared);
    }
    const std::int32_t begun = BeginScene();
    if (begun < 0) {
        throw DeviceError("BeginScene failed", begun);
    }
}

void EndFrame() {
    const std::int32_t ended = platform::EndScene();
    if (ended < 0) {
        throw DeviceError("EndScene failed", ended);
    }
    // A failed presentation reports a negative code: the frame is dropped, never retried.
    platform::Present();
    if (dxgfx.frameEnded) {
        dxgfx.frameEnded();
    }
}

void ShutdownGraphics() {
    ReleaseTextures();
    ReleaseFonts();
    ReleaseMeshes();
    platform::ReleaseDevice();
    dxgfx.hasDevice = false;
}

}  // namespace graphics
