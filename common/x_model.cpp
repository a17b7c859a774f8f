#include "common/x_model.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>

#include "common/number_text.h"

namespace common {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDelimiter(char c) { return c == ';' || c == ',' || c == '{' || c == '}'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// A name: a letter or underscore, then letters, digits, underscores, dashes and dots.
bool IsName(std::string_view token) {
    return !token.empty() && IsLetter(token.front()) &&
           std::all_of(token.begin(), token.end(), [](char c) { return IsLetter(c) || IsDigit(c) || c == '-' || c == '.'; });
}

// A template's identifier, written <8-4-4-4-12 hexadecimal digits>.
bool IsGuid(std::string_view token) {
    constexpr std::string_view kShape = "<xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx>";
    if (token.size() != kShape.size()) {
        return false;
    }
    for (std::size_t i = 0; i < token.size(); ++i) {
        if (kShape[i] == 'x' ? !IsHex(token[i]) : token[i] != kShape[i]) {
            return false;
        }
    }
    return true;
}

// A word of a template's member list: "FLOAT", "x", "array", "indices[nIndices]",
// "[Material", "<3D82AB4D-62DA-11cf-AB39-0020AF71E433>]", "[...]".
bool IsTemplateWord(std::string_view token) {
    return std::all_of(token.begin(), token.end(), [](char c) {
        return IsLetter(c) || IsDigit(c) || c == '-' || c == '.' || c == '[' || c == ']' || c == '<' || c == '>';
    });
}

// A coordinate, colour or matrix entry: an optional sign, digits with an optional fraction
// (or a fraction alone), an optional exponent of at most three digits. At most 18 digits
// before the point: the library's whole-number reader would overflow on more.
bool IsDecimal(std::string_view token, bool& whole) {
    std::size_t i = 0;
    if (i < token.size() && (token[i] == '-' || token[i] == '+')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < token.size() && IsDigit(token[i])) {
        ++i;
        ++digits;
    }
    whole = true;
    if (i < token.size() && token[i] == '.') {
        whole = false;
        ++i;
        std::size_t fraction = 0;
        while (i < token.size() && IsDigit(token[i])) {
            ++i;
            ++fraction;
        }
        if (fraction == 0) {
            return false;
        }
    } else if (digits == 0) {
        return false;
    }
    if (digits > 18) {
        return false;
    }
    if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
        whole = false;
        ++i;
        if (i < token.size() && (token[i] == '-' || token[i] == '+')) {
            ++i;
        }
        std::size_t exponent = 0;
        while (i < token.size() && IsDigit(token[i])) {
            ++i;
            ++exponent;
        }
        if (exponent == 0 || exponent > 3) {
            return false;
        }
    }
    return i == token.size();
}

// Reads one model; every step returns false once the first fault is recorded.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<XModel> Read(std::string* error) {
        XModel model;
        if (!CheckCharacters() || !Header() || !TopLevel(model) || !Finish(model)) {
            if (error) {
                *error = error_;
            }
            return std::nullopt;
        }
        return model;
    }

private:
    // ---- Characters and tokens ----

    // A text model holds printable characters, tabs and line ends in lines of sane length.
    bool CheckCharacters() {
        std::size_t lineStart = 0;
        for (std::size_t i = 0; i < text_.size(); ++i) {
            const auto c = static_cast<unsigned char>(text_[i]);
            if (c == '\n') {
                lineStart = i + 1;
                continue;
            }
            if ((c < 0x20 && c != '\t' && c != '\r') || c == 0x7F) {
                tokenStart_ = i;
                return Fail("a control character (" + std::to_string(c) + ")");
            }
            if (i - lineStart >= kMaxXLineLength) {
                tokenStart_ = i;
                return Fail("the line is longer than " + std::to_string(kMaxXLineLength) + " characters");
            }
        }
        return true;
    }

    // "xof ", the version, "txt " and the size of floats, then nothing but blanks to the
    // line's end: the library skips the rest of the first line unread.
    bool Header() {
        tokenStart_ = 0;
        if (text_.size() < 16 || text_.compare(0, 4, "xof ") != 0) {
            return Fail("not a \".x\" model (it does not begin with \"xof \")");
        }
        const std::string_view format = text_.substr(8, 4);
        if (format == "bin " || format == "tzip" || format == "bzip") {
            return Fail("a binary or compressed \".x\" model; the game reads text models");
        }
        const std::string_view version = text_.substr(4, 4);
        const std::string_view floats = text_.substr(12, 4);
        if (format != "txt " || !std::all_of(version.begin(), version.end(), IsDigit) ||
            (floats != "0032" && floats != "0064")) {
            return Fail("a damaged \".x\" header " + Quoted(text_.substr(0, 16), 16));
        }
        at_ = 16;
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) {
            ++at_;
        }
        if (at_ < text_.size() && text_[at_] != '\r' && text_[at_] != '\n') {
            tokenStart_ = at_;
            return Fail("text after the \".x\" header on its line");
        }
        return true;
    }

    // Blanks, line ends and comments; a comment begins only where a token could.
    void SkipBlanks() {
        while (at_ < text_.size()) {
            if (IsBlank(text_[at_])) {
                ++at_;
            } else if (text_[at_] == '#' || text_.compare(at_, 2, "//") == 0) {
                while (at_ < text_.size() && text_[at_] != '\n' && text_[at_] != '\r') {
                    ++at_;
                }
            } else {
                return;
            }
        }
    }

    // The next token: ; , { or } alone, or a run of anything else up to a blank or one of
    // them. Empty at the end of the text (or after a fault).
    std::string_view Next() {
        SkipBlanks();
        tokenStart_ = at_;
        if (!error_.empty() || at_ >= text_.size()) {
            return {};
        }
        if (IsDelimiter(text_[at_])) {
            return text_.substr(at_++, 1);
        }
        while (at_ < text_.size() && !IsBlank(text_[at_]) && !IsDelimiter(text_[at_])) {
            ++at_;
        }
        const std::string_view token = text_.substr(tokenStart_, at_ - tokenStart_);
        if (token.size() > kMaxXTokenLength) {
            Fail("a word or number longer than " + std::to_string(kMaxXTokenLength) + " characters");
            return {};
        }
        return token;
    }

    std::string_view Peek() {
        const std::size_t at = at_;
        const std::string_view token = Next();
        at_ = at;
        return token;
    }

    // Records the first fault, with the line of the token it concerns.
    bool Fail(const std::string& why) {
        if (error_.empty()) {
            const auto line = 1 + std::count(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(std::min(tokenStart_, text_.size())), '\n');
            error_ = "line " + std::to_string(line) + ": " + why;
        }
        return false;
    }

    bool Unexpected(std::string_view token, const std::string& expected) {
        return Fail(token.empty() ? "the file ends where " + expected + " should follow"
                                  : "expected " + expected + ", found " + Quoted(token, 40));
    }

    bool Expect(std::string_view wanted) {
        const std::string_view token = Next();
        return token == wanted || Unexpected(token, "\"" + std::string(wanted) + "\"");
    }

    // ---- Numbers ----

    // A list's separator after every number.
    bool Separator() {
        const std::string_view token = Next();
        return token == ";" || token == "," || Unexpected(token, "\";\" or \",\"");
    }

    // The separator some lists put after each element, which may be left out.
    void OptionalSeparator() {
        const std::string_view token = Peek();
        if (token == ";" || token == ",") {
            Next();
        }
    }

    // A whole number (digits only: the library reads "-4" as four thousand million) at most
    // limit, and its separator.
    bool Whole(std::size_t limit, std::size_t& value, const char* what) {
        const std::string_view token = Next();
        if (token.empty() || !std::all_of(token.begin(), token.end(), IsDigit)) {
            return Unexpected(token, std::string("a whole number (") + what + ")");
        }
        value = 0;
        for (char c : token) {
            value = std::min<std::size_t>(value * 10 + static_cast<std::size_t>(c - '0'), std::size_t{1} << 40);
        }
        if (value > limit) {
            return Fail(std::string(what) + " " + std::to_string(value) + " is beyond the limit of " + std::to_string(limit));
        }
        return Separator();
    }

    // An index into a list of count elements.
    bool Index(std::size_t count, std::uint32_t& index, const char* what) {
        std::size_t value = 0;
        if (!Whole(std::size_t{1} << 40, value, what)) {
            return false;
        }
        if (value >= count) {
            return Fail(std::string(what) + " " + std::to_string(value) + " is beyond the " + std::to_string(count) + " there are");
        }
        index = static_cast<std::uint32_t>(value);
        return true;
    }

    bool Decimal(float& value) {
        const std::string_view token = Next();
        bool whole = false;
        if (token.empty() || !IsDecimal(token, whole)) {
            return Unexpected(token, "a number");
        }
        // The library reads "1,5" as 1.5 and would then be one number behind.
        if (whole && at_ + 1 < text_.size() && text_[at_] == ',' && IsDigit(text_[at_ + 1])) {
            return Fail(Quoted(text_.substr(tokenStart_, token.size() + 2), 40) +
                        " reads as one number with a decimal comma; write the point or a blank after the comma");
        }
        const std::string_view digits = token.front() == '+' ? token.substr(1) : token;
        double number = 0.0;
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (result.ec != std::errc() || !(std::fabs(number) <= FLT_MAX)) {
            return Fail("the number " + Quoted(token, 40) + " is beyond the range of the model's numbers");
        }
        value = static_cast<float>(number);
        return Separator();
    }

    // A vector, a colour or texture coordinates: numbers, then the element's own separator,
    // which may be left out.
    template <std::size_t N>
    bool Decimals(std::array<float, N>& values) {
        for (float& value : values) {
            if (!Decimal(value)) {
                return false;
            }
        }
        OptionalSeparator();
        return true;
    }

    // A counted list of such elements.
    template <std::size_t N>
    bool Elements(std::size_t count, std::vector<std::array<float, N>>& elements) {
        for (std::size_t i = 0; i < count; ++i) {
            if (!Decimals(elements.emplace_back())) {
                return false;
            }
        }
        return true;
    }

    // ---- Blocks ----

    // What follows a block's type: an optional name, then the opening brace.
    bool BlockHead(std::string_view type, std::string* name = nullptr) {
        std::string_view token = Next();
        if (token == "{") {
            return true;
        }
        if (!IsName(token)) {
            return Unexpected(token, "a name or \"{\" after " + std::string(type));
        }
        if (name) {
            *name = token;
        }
        return Expect("{");
    }

    bool TopLevel(XModel& model) {
        while (true) {
            const std::string_view token = Next();
            if (token.empty()) {
                return error_.empty();
            }
            bool read = false;
            if (token == "template") {
                read = Template();
            } else if (token == "Header") {
                std::size_t ignored = 0;
                read = BlockHead(token) && Whole(65535, ignored, "a version") && Whole(65535, ignored, "a version") &&
                       Whole(65535, ignored, "a flag") && Expect("}");
            } else if (token == "AnimTicksPerSecond") {
                std::size_t ignored = 0;
                read = BlockHead(token) && Whole(100000, ignored, "ticks") && Expect("}");
            } else if (token == "Frame") {
                read = Frame(model, model.top, 1);
            } else if (token == "Mesh") {
                read = Mesh(model, model.top.meshes);
            } else if (token == "Material") {
                read = Fail("a Material outside a material list; write each material in the list that uses it");
            } else {
                read = Unexpected(token, "a template, Header, Frame or Mesh");
            }
            if (!read) {
                return false;
            }
        }
    }

    // A template declares a data type; its members are not used, only checked for words.
    bool Template() {
        std::string_view token = Next();
        if (!IsName(token)) {
            return Unexpected(token, "the template's name");
        }
        if (!Expect("{")) {
            return false;
        }
        token = Next();
        if (!IsGuid(token)) {
            return Unexpected(token, "the template's <identifier>");
        }
        while (true) {
            token = Next();
            if (token == "}") {
                return true;
            }
            if (token != ";" && token != "," && (token.empty() || !IsTemplateWord(token))) {
                return Unexpected(token, "a member of the template or \"}\"");
            }
        }
    }

    bool Frame(XModel& model, XFrame& parent, int depth) {
        if (depth > kMaxXNesting) {
            return Fail("frames nested deeper than " + std::to_string(kMaxXNesting));
        }
        if (++frames_ > kMaxXFrames) {
            return Fail("more than " + std::to_string(kMaxXFrames) + " frames");
        }
        XFrame& frame = parent.frames.emplace_back();
        if (!BlockHead("Frame", &frame.name)) {
            return false;
        }
        bool haveTransform = false;
        while (true) {
            const std::string_view token = Next();
            bool read = false;
            if (token == "}") {
                return true;
            } else if (token == "Frame") {
                read = Frame(model, frame, depth + 1);
            } else if (token == "Mesh") {
                read = Mesh(model, frame.meshes);
            } else if (token == "FrameTransformMatrix" && !haveTransform) {
                haveTransform = true;
                read = BlockHead(token) && Matrix(frame.transform);
            } else {
                read = Unexpected(token, "Frame, FrameTransformMatrix (once), Mesh or \"}\" in a frame");
            }
            if (!read) {
                return false;
            }
        }
    }

    // Sixteen numbers, then a semicolon of its own.
    bool Matrix(std::array<float, 16>& matrix) {
        for (float& value : matrix) {
            if (!Decimal(value)) {
                return false;
            }
        }
        return Expect(";") && Expect("}");
    }

    // A counted list of faces, each a counted list of corners into a list of count elements.
    bool Faces(std::size_t count, std::size_t faceCount, std::vector<std::vector<std::uint32_t>>& faces,
               const std::vector<std::vector<std::uint32_t>>* shapes) {
        for (std::size_t f = 0; f < faceCount; ++f) {
            std::size_t corners = 0;
            if (!Whole(kMaxXFaceCorners, corners, "a face's corner count")) {
                return false;
            }
            if (corners < 3) {
                return Fail("a face of " + std::to_string(corners) + " corners; a face has at least 3");
            }
            if (shapes && (*shapes)[f].size() != corners) {
                return Fail("normals for a face of " + std::to_string((*shapes)[f].size()) + " corners list " +
                            std::to_string(corners));
            }
            auto& face = faces.emplace_back(corners);
            for (std::uint32_t& index : face) {
                if (!Index(count, index, shapes ? "a normal's index" : "a vertex index")) {
                    return false;
                }
            }
            OptionalSeparator();
        }
        return true;
    }

    bool Mesh(XModel& model, std::vector<XMesh>& meshes) {
        if (++model.meshes > kMaxXMeshes) {
            return Fail("more than " + std::to_string(kMaxXMeshes) + " meshes");
        }
        XMesh& mesh = meshes.emplace_back();
        std::size_t count = 0;
        if (!BlockHead("Mesh", &mesh.name) || !Whole(kMaxXVertices, count, "the vertex count")) {
            return false;
        }
        if (!Elements(count, mesh.positions)) {
            return false;
        }
        std::size_t faceCount = 0;
        if (!Whole(kMaxXTriangles, faceCount, "the face count")) {
            return false;
        }
        if (faceCount == 0) {
            return Fail("a mesh without faces");
        }
        if (!Faces(count, faceCount, mesh.faces, nullptr)) {
            return false;
        }
        for (const auto& face : mesh.faces) {
            model.corners += face.size();
            model.triangles += face.size() - 2;
        }
        if (model.corners > kMaxXVertices || model.triangles > kMaxXTriangles) {
            return Fail("more than " + std::to_string(kMaxXVertices) + " face corners or " +
                        std::to_string(kMaxXTriangles) + " triangles in the file");
        }
        bool haveNormals = false, haveCoordinates = false, haveColours = false, haveDuplicates = false;
        while (true) {
            const std::string_view token = Next();
            bool read = false;
            if (token == "}") {
                return true;
            } else if (token == "MeshNormals" && !haveNormals) {
                haveNormals = true;
                read = Normals(mesh);
            } else if (token == "MeshTextureCoords" && !haveCoordinates) {
                haveCoordinates = true;
                read = TextureCoordinates(mesh);
            } else if (token == "MeshVertexColors" && !haveColours) {
                haveColours = true;
                read = VertexColours(mesh);
            } else if (token == "MeshMaterialList" && !mesh.hasMaterialList) {
                mesh.hasMaterialList = true;
                read = MaterialList(model, mesh);
            } else if (token == "VertexDuplicationIndices" && !haveDuplicates) {
                haveDuplicates = true;
                read = DuplicationIndices(mesh);
            } else {
                read = Unexpected(token, "MeshNormals, MeshTextureCoords, MeshVertexColors, MeshMaterialList, "
                                         "VertexDuplicationIndices (each once) or \"}\" in a mesh");
            }
            if (!read) {
                return false;
            }
        }
    }

    bool Normals(XMesh& mesh) {
        std::size_t count = 0;
        if (!BlockHead("MeshNormals") || !Whole(kMaxXVertices, count, "the normal count")) {
            return false;
        }
        if (!Elements(count, mesh.normals)) {
            return false;
        }
        std::size_t faceCount = 0;
        if (!Whole(kMaxXTriangles, faceCount, "the normals' face count")) {
            return false;
        }
        if (faceCount != mesh.faces.size()) {
            return Fail("normals for " + std::to_string(faceCount) + " faces of a mesh of " +
                        std::to_string(mesh.faces.size()));
        }
        return Faces(count, faceCount, mesh.normalFaces, &mesh.faces) && Expect("}");
    }

    bool TextureCoordinates(XMesh& mesh) {
        std::size_t count = 0;
        if (!BlockHead("MeshTextureCoords") || !Whole(kMaxXVertices, count, "the texture coordinate count")) {
            return false;
        }
        if (count != mesh.positions.size()) {
            return Fail(std::to_string(count) + " texture coordinates for " + std::to_string(mesh.positions.size()) +
                        " vertices");
        }
        return Elements(count, mesh.textureCoords) && Expect("}");
    }

    // Read for their grammar only: the game lights meshes by their materials.
    bool VertexColours(const XMesh& mesh) {
        std::size_t count = 0;
        if (!BlockHead("MeshVertexColors") || !Whole(kMaxXVertices, count, "the vertex colour count")) {
            return false;
        }
        if (count != mesh.positions.size()) {
            return Fail(std::to_string(count) + " vertex colours for " + std::to_string(mesh.positions.size()) +
                        " vertices");
        }
        for (std::size_t i = 0; i < count; ++i) {
            std::uint32_t index = 0;
            std::array<float, 4> colour{};
            if (!Index(mesh.positions.size(), index, "a vertex colour's index") || !Decimals(colour)) {
                return false;
            }
            OptionalSeparator();
        }
        return Expect("}");
    }

    // Which vertices are copies of which: read for its grammar only.
    bool DuplicationIndices(const XMesh& mesh) {
        std::size_t count = 0, originals = 0;
        if (!BlockHead("VertexDuplicationIndices") || !Whole(kMaxXVertices, count, "the index count") ||
            !Whole(kMaxXVertices, originals, "the original vertex count")) {
            return false;
        }
        if (count != mesh.positions.size() || originals > count) {
            return Fail("duplication indices for " + std::to_string(count) + " of " + std::to_string(originals) +
                        " vertices in a mesh of " + std::to_string(mesh.positions.size()));
        }
        for (std::size_t i = 0; i < count; ++i) {
            std::uint32_t index = 0;
            if (!Index(originals, index, "an original vertex")) {
                return false;
            }
        }
        return Expect("}");
    }

    bool MaterialList(XModel& model, XMesh& mesh) {
        std::size_t declared = 0, indexCount = 0;
        if (!BlockHead("MeshMaterialList") || !Whole(kMaxXMaterials, declared, "the material count") ||
            !Whole(kMaxXTriangles, indexCount, "the face material count")) {
            return false;
        }
        if (declared == 0) {
            return Fail("a material list without materials");
        }
        // One material for all faces, or one for each.
        if (indexCount != mesh.faces.size() && indexCount != 1) {
            return Fail("materials for " + std::to_string(indexCount) + " faces of a mesh of " +
                        std::to_string(mesh.faces.size()));
        }
        for (std::size_t i = 0; i < indexCount; ++i) {
            if (!Index(declared, mesh.faceMaterials.emplace_back(), "a face's material")) {
                return false;
            }
        }
        while (true) {
            const std::string_view token = Next();
            bool read = false;
            if (token == ";") {
                read = true;
            } else if (token == "}") {
                if (mesh.materials.size() != declared) {
                    return Fail("a material list declares " + std::to_string(declared) + " materials and holds " +
                                std::to_string(mesh.materials.size()));
                }
                return true;
            } else if (token == "Material" && mesh.materials.size() < declared) {
                if (++model.materials > kMaxXMaterials) {
                    return Fail("more than " + std::to_string(kMaxXMaterials) + " materials in the file");
                }
                read = Material(mesh.materials.emplace_back());
            } else if (token == "{") {
                read = Fail("a material named by reference; write the material itself in the list");
            } else {
                read = Unexpected(token, "one of the list's " + std::to_string(declared) + " Material blocks or \"}\"");
            }
            if (!read) {
                return false;
            }
        }
    }

    bool Material(XMaterial& material) {
        std::array<float, 1> power{};
        if (!BlockHead("Material") || !Decimals(material.diffuse) || !Decimal(power[0]) || !Decimals(material.specular) ||
            !Decimals(material.emissive)) {
            return false;
        }
        material.power = power[0];
        bool haveTexture = false;
        while (true) {
            const std::string_view token = Next();
            if (token == "}") {
                return true;
            }
            if ((token == "TextureFilename" || token == "TextureFileName") && !haveTexture) {
                haveTexture = true;
                if (!BlockHead(token) || !QuotedName(material.textureFile) || !Expect("}")) {
                    return false;
                }
                continue;
            }
            return Unexpected(token, "TextureFilename (once) or \"}\" in a material");
        }
    }

    // "name"; with the semicolon right after the closing quote, all on one line. Doubled
    // backslashes count as one, as exporters write them.
    bool QuotedName(std::string& name) {
        SkipBlanks();
        tokenStart_ = at_;
        if (at_ >= text_.size() || text_[at_] != '"') {
            return Unexpected(Peek(), "a quoted name");
        }
        const std::size_t close = text_.find_first_of("\"\r\n", at_ + 1);
        if (close == std::string_view::npos || text_[close] != '"') {
            return Fail("a quoted name without its closing quote on its line");
        }
        if (close - at_ - 1 > kMaxXTokenLength) {
            return Fail("a quoted name longer than " + std::to_string(kMaxXTokenLength) + " characters");
        }
        if (close + 1 >= text_.size() || text_[close + 1] != ';') {
            return Fail("a quoted name not followed at once by \";\"");
        }
        name.clear();
        for (std::size_t i = at_ + 1; i < close; ++i) {
            if (text_[i] != '\\' || name.empty() || name.back() != '\\') {
                name += text_[i];
            }
        }
        at_ = close + 2;
        return true;
    }

    bool Finish(const XModel& model) {
        tokenStart_ = text_.size();
        if (model.meshes == 0) {
            return Fail("the file holds no Mesh");
        }
        // The loader gives a mesh without a list the first material of the file.
        std::size_t withList = 0;
        CountMaterialLists(model.top, withList);
        if (withList != 0 && withList != model.meshes) {
            return Fail(std::to_string(model.meshes - withList) + " of the " + std::to_string(model.meshes) +
                        " meshes have no material list; give every mesh one, or none");
        }
        return true;
    }

    static void CountMaterialLists(const XFrame& frame, std::size_t& withList) {
        for (const XMesh& mesh : frame.meshes) {
            withList += mesh.hasMaterialList ? 1 : 0;
        }
        for (const XFrame& child : frame.frames) {
            CountMaterialLists(child, withList);
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t tokenStart_ = 0;  // where the token a fault concerns begins
    std::size_t frames_ = 0;
    std::string error_;
};

}  // namespace

std::optional<XModel> ReadXModel(std::string_view text, std::string* error) { return Reader(text).Read(error); }

}  // namespace common
