// Our stand-in for the game's Direct3D 8 device: a software renderer with an 800 x 600
// R5G6B5 back buffer and a 16-bit depth buffer, the render states, texture-stage states and
// transforms the game sets (by their Direct3D numbers), scenes, presentation, and device loss
// while the window is in the background. Results are Direct3D-style codes: 0 success, negative failure.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/pixel_format.h"
#include "platform/texture.h"

namespace platform {

inline constexpr int kScreenWidth = 800;
inline constexpr int kScreenHeight = 600;

// Result codes.
inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kErrDeviceLost = static_cast<std::int32_t>(0x88760868u);
inline constexpr std::int32_t kErrDeviceNotReset = static_cast<std::int32_t>(0x88760869u);
inline constexpr std::int32_t kErrInvalidCall = static_cast<std::int32_t>(0x8876086Cu);
inline constexpr std::int32_t kErrNotAvailable = static_cast<std::int32_t>(0x8876086Au);
inline constexpr std::int32_t kErrFail = static_cast<std::int32_t>(0x80004005u);

// Formats.
inline constexpr int kFormatR5G6B5 = 23;
inline constexpr int kFormatD16 = 80;

// Render states, by their Direct3D numbers.
enum RenderState : std::uint32_t {
    kRsZEnable = 7,
    kRsFillMode = 8,
    kRsShadeMode = 9,
    kRsZWriteEnable = 14,
    kRsAlphaTestEnable = 15,
    kRsSrcBlend = 19,
    kRsDestBlend = 20,
    kRsCullMode = 22,
    kRsZFunc = 23,
    kRsAlphaRef = 24,
    kRsAlphaFunc = 25,
    kRsDitherEnable = 26,
    kRsAlphaBlendEnable = 27,
    kRsLighting = 137,
    kRsAmbient = 139,
    kRenderStateCount = 256,
};

// Blend factors.
enum BlendFactor : std::uint32_t {
    kBlendZero = 1,
    kBlendOne = 2,
    kBlendSrcColor = 3,
    kBlendInvSrcColor = 4,
    kBlendSrcAlpha = 5,
    kBlendInvSrcAlpha = 6,
    kBlendDestAlpha = 7,
    kBlendInvDestAlpha = 8,
    kBlendDestColor = 9,
    kBlendInvDestColor = 10,
};

// Comparison functions (depth and alpha test).
enum CompareFunc : std::uint32_t {
    kCmpNever = 1,
    kCmpLess = 2,
    kCmpEqual = 3,
    kCmpLessEqual = 4,
    kCmpGreater = 5,
    kCmpNotEqual = 6,
    kCmpGreaterEqual = 7,
    kCmpAlways = 8,
};

// Cull modes.
enum CullMode : std::uint32_t { kCullNone = 1, kCullClockwise = 2, kCullCounterClockwise = 3 };

// Texture-stage states and filters.
enum TextureStageState : std::uint32_t {
    kTssMagFilter = 16,
    kTssMinFilter = 17,
    kTssMipFilter = 18,
    kTextureStageStateCount = 32,
};
enum TextureFilter : std::uint32_t { kFilterNone = 0, kFilterPoint = 1, kFilterLinear = 2 };
inline constexpr int kTextureStages = 8;

// Transforms.
enum TransformType : std::uint32_t { kTransformView = 2, kTransformProjection = 3, kTransformWorld = 256 };

// Clear flags.
inline constexpr std::uint32_t kClearTarget = 1;
inline constexpr std::uint32_t kClearZBuffer = 2;

struct Vector3 {
    float x = 0, y = 0, z = 0;
};

// Row-vector matrices as Direct3D uses them: v' = v * M, translation in the last row.
struct Matrix {
    std::array<std::array<float, 4>, 4> m{};
    static Matrix Identity();
    friend Matrix operator*(const Matrix& a, const Matrix& b);
    friend bool operator==(const Matrix& a, const Matrix& b) = default;
};

// A colour with float channels, as materials hold them (0 .. 1, not clamped when stored).
struct ColourValue {
    float r = 0, g = 0, b = 0, a = 0;
};

// A material as the fixed-function lighting reads it.
struct Material {
    ColourValue diffuse;
    ColourValue ambient;
    ColourValue specular;
    ColourValue emissive;
    float power = 0;
};

// The vertex of a mesh: position, normal and one pair of texture coordinates.
struct MeshVertex {
    float x = 0, y = 0, z = 0;
    float nx = 0, ny = 0, nz = 0;
    float u = 0, v = 0;
};

// The presentation parameters the game fills (only the fields it sets).
struct PresentParams {
    int backBufferWidth = 0;
    int backBufferHeight = 0;
    int backBufferFormat = 0;
    int backBufferCount = 0;
    int multiSampleType = 0;
    int swapEffect = 0;
    bool windowed = false;
    bool enableAutoDepthStencil = false;
    int autoDepthStencilFormat = 0;
};

// A picture in device memory: an image surface the game fills from a file, or the render
// target (the back buffer itself). Held by shared handles; a device reset needs every one of
// them dropped first, as a real device does.
struct Surface {
    int width = 0;
    int height = 0;
    bool isRenderTarget = false;        // pixels live in the device's back buffer
    std::vector<std::uint16_t> pixels;  // R5G6B5, rows top to bottom (image surfaces only)
};
using SurfaceHandle = std::shared_ptr<Surface>;

struct DeviceState {
    bool created = false;
    PresentParams params;
    std::vector<std::uint16_t> backBuffer;   // R5G6B5, 800 x 600, rows top to bottom
    std::vector<std::uint16_t> depthBuffer;  // 16-bit depth, 0 near .. 0xFFFF far
    std::array<std::uint32_t, kRenderStateCount> renderStates{};
    std::array<std::array<std::uint32_t, kTextureStageStateCount>, kTextureStages> stageStates{};
    Matrix world;
    Matrix view;
    Matrix projection;
    Material material;                                // for lit triangles
    std::array<TextureId, kTextureStages> textures{};  // bound per stage; 0 for none
    bool inScene = false;
    std::int32_t cooperativeLevel = kOk;  // kOk, kErrDeviceLost or kErrDeviceNotReset
    std::vector<std::weak_ptr<Surface>> liveSurfaces;  // every surface handed out
    std::vector<std::uint16_t> lastPresented;  // the frame shown by the last good Present
    std::uint64_t framesPresented = 0;
};
extern DeviceState device;

// Creation and release. Creation fails (kErrNotAvailable) without a window or with parameters
// other than the game's 800 x 600 R5G6B5 mode.
std::int32_t CreateDevice(const PresentParams& params);
void ReleaseDevice();

std::int32_t Clear(std::uint32_t flags, std::uint32_t colour, float z, std::uint32_t stencil);
std::int32_t BeginScene();
std::int32_t EndScene();
// Shows the back buffer. Fails with kErrDeviceLost while the device is lost.
std::int32_t Present();

std::int32_t TestCooperativeLevel();
// Brings a not-reset device back: all states and transforms return to their defaults, the
// buffers are cleared. Fails with kErrInvalidCall while any surface handle is still held, and
// with kErrDeviceLost while the device is still lost.
std::int32_t Reset(const PresentParams& params);

std::int32_t SetRenderState(std::uint32_t state, std::uint32_t value);
std::uint32_t GetRenderState(std::uint32_t state);
std::int32_t SetTextureStageState(int stage, std::uint32_t type, std::uint32_t value);
std::uint32_t GetTextureStageState(int stage, std::uint32_t type);
std::int32_t SetTransform(std::uint32_t type, const Matrix& matrix);
Matrix GetTransform(std::uint32_t type);

// The material lit triangles use; the texture a stage samples (0 for none). Textures live in
// the managed pool (platform/texture.h) and survive a reset; their bindings do not.
std::int32_t SetMaterial(const Material& material);
std::int32_t SetTexture(int stage, TextureId texture);

// Draws indexed triangles through the world, view and projection transforms with the device's
// lighting (no lights: ambient times the material's ambient plus its emissive, alpha from its
// diffuse), stage 0's texture modulating it, culling, depth test and blending as the states
// say. Pixel centres lie on whole viewport coordinates, as Direct3D 8 puts them. Indices out
// of range, or a count that is not a multiple of three, fail the call and draw nothing.
std::int32_t DrawIndexedTriangles(std::span<const MeshVertex> vertices, std::span<const std::uint32_t> indices);

// Surfaces the menu screens use for their background pictures.
SurfaceHandle CreateImageSurface(int width, int height, int format);
SurfaceHandle GetRenderTarget();
// Loads a whole bitmap into a whole surface (resampled when the sizes differ), no colour key.
// A file that cannot be read leaves the surface as it was and fails; *error, when given, then
// names the file and what is wrong.
std::int32_t LoadSurfaceFromFile(Surface& surface, const std::filesystem::path& path,
                                 std::string* error = nullptr);
// Copies the whole of source onto destination (same size).
std::int32_t CopyRects(const Surface& source, Surface& destination);

// Matrix helpers of the utility library.
Matrix MatrixLookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up);
Matrix MatrixTranslation(float x, float y, float z);
Matrix MatrixScaling(float x, float y, float z);
Matrix MatrixRotationX(float angle);
Matrix MatrixRotationY(float angle);
Matrix MatrixRotationZ(float angle);

// What tests do to the device that nothing else does. Its switches live here, apart from
// DeviceState, which holds only what the device itself has.
namespace device_testing {
struct Switches {
    int failPresents = 0;             // this many coming presents fail
    bool referenceTriangles = false;  // every triangle through the general clipping path
};
extern Switches switches;

// Loses the device as switching away from a full-screen program does; it stays lost until
// RestoreDevice (or the window coming back) makes it ready to reset.
void LoseDevice();
void RestoreDevice();
// The next count presents fail.
void FailPresents(int count);
// Draws every triangle through the general path that clips (the reference the faster path for
// triangles inside the clip volume must match), or lets the faster path take them again.
void UseReferenceTriangles(bool enabled);
}  // namespace device_testing

}  // namespace platform
