#include "rules/LevelEditor.h"

#include "core/Matrix.h"
#include "elements/ActiveObject.h"
#include "level/Level.h"
#include "rules/Placement.h"
#include "rules/RoomReach.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

constexpr double DEGREES = 180.0 / 3.14159265358979323846;
/// How far off the surface a holder's origin (its pane's centre) stands: its foot is 140 below
/// it, so that it stands on the surface as the pack's holders stand on their floors.
constexpr double HANG = 140;
/// The pointer's hit point across the surface is a float: the surface's own coordinate is
/// rounded to this step, and turns smaller than TURN_NOISE degrees are left out.
constexpr double SURFACE_STEP = 0.01, TURN_NOISE = 1e-3;
/// How far off the surface the origin of the other elements stands: the goal's pedestal reaches
/// 95 below its ball, the emitter's model 12 below its origin, the collector's 11; a lamp hangs.
constexpr double EMITTER_LIFT = 12;
constexpr double COLLECTOR_LIFT = 11;
constexpr double GOAL_LIFT = 95;
constexpr double LAMP_LIFT = 40;
/// A new wall block: 100 x 100 x 100, the slab scaled.
constexpr double BLOCK_SIZE = 100;
/// The wall slab before scaling, and the thickness of a new room's walls.
constexpr double SLAB = 200;
constexpr double THICKNESS = 20;
/// The floor's top in a new room: holders placed in pack levels stand at y = 0 over it.
constexpr double FLOOR_TOP = -140;
constexpr double MIN_ROOM = 400;
/// The introduction's lines are wrapped at this width.
constexpr std::size_t WRAP = 76;

bool isHolder(PieceKind kind) {
    return kind == PieceKind::Mirror || kind == PieceKind::HalfMirror || kind == PieceKind::Filter;
}

bool isElement(PieceKind kind) {
    return kind != PieceKind::Lamp && kind != PieceKind::Camera && kind != PieceKind::Other;
}

bool finite3(const double v[3]) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

/// The level built piece by piece, with each piece's share of the active objects and of all
/// objects; reading the pieces one after another builds what reading the whole text builds, as
/// every piece starts with its @ directive.
struct Built {
    std::unique_ptr<Level> level = std::make_unique<Level>();
    std::vector<std::pair<int, int>> active, objects; ///< [begin, end) per piece
};

Built buildDocument(const LevelDocument& document) {
    Built built;
    std::istringstream lead(document.leading + document.prelude);
    built.level->read(lead);
    for (const Piece& piece : document.pieces) {
        const int a = static_cast<int>(built.level->activeObjects.size());
        const int o = static_cast<int>(built.level->objects.size());
        std::istringstream in(pieceText(piece));
        built.level->read(in);
        built.active.emplace_back(a, static_cast<int>(built.level->activeObjects.size()));
        built.objects.emplace_back(o, static_cast<int>(built.level->objects.size()));
    }
    return built;
}

/// The world position of the object piece i made (its origin), false for none.
bool originOf(Built& built, int i, double p[3]) {
    const auto [begin, end] = built.objects[i];
    if (begin == end) {
        return false;
    }
    const Matrix world = built.level->objects[end - 1]->getWorldMatrix();
    Point o{0, 0, 0, 1};
    transformPoint(world, o);
    for (int a = 0; a < 3; ++a) {
        p[a] = o[a];
    }
    return true;
}

bool insideRoom(Built& built, int i) {
    double low[3], high[3], p[3];
    if (!roomBox(*built.level, low, high) || !originOf(built, i, p)) {
        return true; // no room to leave, or nothing that stands in it
    }
    for (int a = 0; a < 3; ++a) {
        if (!(low[a] < p[a] && p[a] < high[a])) {
            return false;
        }
    }
    return true;
}

/// For every piece, whether it stands inside the room.
std::vector<char> insideFlags(Built& built) {
    std::vector<char> inside;
    for (std::size_t i = 0; i < built.active.size(); ++i) {
        inside.push_back(insideRoom(built, static_cast<int>(i)));
    }
    return inside;
}

std::string lowered(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

/// Whether a property sets the object's own turns and scale: for a holder also what `+` sends on
/// to it (a turn about y or z).
bool turnsObject(const Property& p, PieceKind kind) {
    const bool turnOrScale =
        p.name == "XRo" || p.name == "YRo" || p.name == "ZRo" || p.name == "Sca";
    if (p.target == '#') {
        return turnOrScale;
    }
    return isHolder(kind) && (p.name == "YRo" || p.name == "ZRo");
}

bool turnsFrame(const Property& p) {
    return p.target == '+' && (p.name == "XRo" || p.name == "Sca");
}

/// Adds `degrees` (or multiplies by `factors` for "Sca") at the end of the turns and scales that
/// `belongs` picks: into the last one when it is of the same name and target, else as a new line
/// after it (or after the last property).
template <class Belongs>
void appendTransform(Piece& piece, char target, const std::string& name,
                     const std::vector<double>& values, Belongs belongs) {
    auto& props = piece.properties;
    int last = -1;
    for (int i = 0; i < static_cast<int>(props.size()); ++i) {
        if (belongs(props[i])) {
            last = i;
        }
    }
    if (last >= 0 && props[last].is(target, name.c_str())) {
        Property& p = props[last];
        for (std::size_t a = 0; a < values.size(); ++a) {
            p.values[a] = name == "Sca" ? p.values[a] * values[a] : p.values[a] + values[a];
        }
        p.rewrite();
        return;
    }
    const int at = last >= 0 ? last + 1 : static_cast<int>(props.size());
    props.insert(props.begin() + at, makeProperty(target, name, values));
}

/// The position the Pos lines give the object (a holder's `+ Pos` moves the holder too).
void positionOf(const Piece& piece, double p[3]) {
    p[0] = p[1] = p[2] = 0;
    for (const Property& q : piece.properties) {
        if (q.name == "Pos" && (q.target == '#' || isHolder(piece.kind))) {
            for (int a = 0; a < 3; ++a) {
                p[a] += static_cast<float>(q.values[a]);
            }
        }
    }
}

/// Moves the object by `d` in its first `# Pos` line, made when there is none.
void shift(Piece& piece, const double d[3]) {
    for (Property& q : piece.properties) {
        if (q.is('#', "Pos")) {
            for (int a = 0; a < 3; ++a) {
                q.values[a] += d[a];
            }
            q.rewrite();
            return;
        }
    }
    piece.properties.insert(piece.properties.begin(), makeProperty('#', "Pos", {d[0], d[1], d[2]}));
}

double snapped(double v, double grid) {
    return grid > 0 ? std::round(v / grid) * grid : v;
}

/// The end of the text's last line: a new piece after it starts on a line of its own.
void endLine(std::string& text) {
    if (!text.empty() && text.back() != '\n') {
        text += '\n';
    }
}

std::string& lastComment(LevelDocument& d, int piece) {
    if (piece < 0) {
        return d.prelude.empty() ? d.leading : d.prelude;
    }
    Piece& p = d.pieces[piece];
    return p.properties.empty() ? p.comment : p.properties.back().comment;
}

void insertPiece(LevelDocument& d, int at, Piece piece) {
    std::string& before = lastComment(d, at - 1);
    if (at > 0 || !before.empty()) {
        endLine(before);
    }
    d.pieces.insert(d.pieces.begin() + at, std::move(piece));
}

/// Where a new piece of `kind` goes: the emitter first, a lamp after the last lamp (or before the
/// camera), anything else after the last element.
int insertionPoint(const LevelDocument& d, PieceKind kind) {
    const int n = static_cast<int>(d.pieces.size());
    if (kind == PieceKind::Emitter) {
        return 0;
    }
    int after = -1;
    for (int i = 0; i < n; ++i) {
        const PieceKind k = d.pieces[i].kind;
        if (kind == PieceKind::Lamp ? k == PieceKind::Lamp : isElement(k)) {
            after = i;
        }
    }
    if (after >= 0) {
        return after + 1;
    }
    if (kind == PieceKind::Lamp) {
        for (int i = 0; i < n; ++i) {
            if (d.pieces[i].kind == PieceKind::Camera) {
                return i;
            }
        }
        return n;
    }
    return 0;
}

/// The turns placeOnWall gives a holder set on a surface with unit normal n, heading along -z
/// kept: about z, then x, then the new y.
void surfaceTurns(const double n[3], double turns[3]) {
    const double a1 = vectorAngle(n[0], n[1], 0, 0, 1, 0);
    const double z = n[0] > 0 ? -a1 : a1;
    const double a2 = vectorAngle(n[0], n[1], n[2], n[0], n[1], 0);
    const double x = n[2] > 0 ? a2 : -a2;
    Matrix m = Matrix::identity();
    matrixRotateZ(m, static_cast<float>(z), 0);
    matrixRotateX(m, static_cast<float>(x), 0);
    Point xNew{1, 0, 0, 0};
    transformPoint(m, xNew);
    const double a3 = vectorAngle(1, 0, 0, xNew[0], xNew[1], xNew[2]);
    // The cross product of the old x axis (1, 0, 0) and the new one, along the normal.
    const double side = -xNew[2] * n[1] + xNew[1] * n[2];
    turns[0] = z * DEGREES;
    turns[1] = x * DEGREES;
    turns[2] = (side > 0 ? -a3 : a3) * DEGREES;
}

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> list;
    std::istringstream in(text);
    for (std::string w; in >> w;) {
        list.push_back(w);
    }
    return list;
}

std::string joined(const std::vector<std::string>& list) {
    std::string s;
    for (const std::string& w : list) {
        s += (s.empty() ? "" : " ") + w;
    }
    return s;
}

/// The introduction's place in the leading comment: from "Teaches:" to the end of its paragraph
/// (the line break before a blank line, or the end).
bool introductionSpan(const std::string& lead, std::size_t& begin, std::size_t& end) {
    begin = lead.find("Teaches:");
    if (begin == std::string::npos) {
        return false;
    }
    end = begin;
    while (true) {
        const std::size_t line = lead.find('\n', end);
        if (line == std::string::npos) {
            end = lead.size();
            return true;
        }
        const std::size_t next = lead.find('\n', line + 1);
        const std::string following =
            lead.substr(line + 1, (next == std::string::npos ? lead.size() : next) - line - 1);
        if (following.find_first_not_of(" \t\r") == std::string::npos) {
            end = line;
            return true;
        }
        end = line + 1;
    }
}

/// The title line's place: the first line with more than blanks.
bool titleSpan(const std::string& lead, std::size_t& begin, std::size_t& end) {
    for (std::size_t at = 0; at < lead.size();) {
        std::size_t e = lead.find('\n', at);
        if (e == std::string::npos) {
            e = lead.size();
        }
        if (lead.substr(at, e - at).find_first_not_of(" \t\r") != std::string::npos) {
            begin = at;
            end = e;
            return true;
        }
        at = e + 1;
    }
    return false;
}

} // namespace

LevelEditor::LevelEditor() {
    states_.push_back(State{});
}

void LevelEditor::reset(LevelDocument document) {
    states_.clear();
    states_.push_back(State{std::move(document), nextSerial_++});
    current_ = 0;
    savedSerial_ = states_[0].serial;
    refusal_.clear();
}

bool LevelEditor::open(const std::string& text, std::string* error) {
    LevelDocument document;
    if (!document.parse(text, error)) {
        return false;
    }
    reset(std::move(document));
    return true;
}

void LevelEditor::createRoom(double width, double height, double depth) {
    const double w = std::isfinite(width) ? std::max(width, MIN_ROOM) : MIN_ROOM;
    const double h = std::isfinite(height) ? std::max(height, MIN_ROOM) : MIN_ROOM;
    const double d = std::isfinite(depth) ? std::max(depth, MIN_ROOM) : MIN_ROOM;
    LevelDocument doc;
    doc.leading = "Beamworks level: A new room\n\n";
    const double outW = (w + 2 * THICKNESS) / SLAB, outD = (d + 2 * THICKNESS) / SLAB,
                 outH = (h + 2 * THICKNESS) / SLAB;
    const double middle = FLOOR_TOP + h / 2;
    auto wall = [&](const char* name, double x, double y, double z, const char* turn, double sx,
                    double sy) {
        Piece p = makePiece(PieceKind::Wall, name);
        p.properties.push_back(makeProperty('#', "Pos", {x, y, z}));
        if (turn) {
            p.properties.push_back(makeProperty('#', turn, {90}));
        }
        p.properties.push_back(makeProperty('#', "Sca", {sx, sy, 1}));
        doc.pieces.push_back(std::move(p));
    };
    Piece emitter = makePiece(PieceKind::Emitter, "the laser");
    emitter.properties.push_back(
        makeProperty('#', "Pos", {0, FLOOR_TOP + EMITTER_LIFT, snapped(d / 2 - 100, grid)}));
    doc.pieces.push_back(std::move(emitter));
    const double half = THICKNESS / 2;
    wall("floor", 0, FLOOR_TOP - half, 0, "XRo", outW, outD);
    wall("ceiling", 0, FLOOR_TOP + h + half, 0, "XRo", outW, outD);
    wall("back", 0, middle, -d / 2 - half, nullptr, outW, outH);
    wall("front", 0, middle, d / 2 + half, nullptr, outW, outH);
    wall("left", -w / 2 - half, middle, 0, "YRo", outD, outH);
    wall("right", w / 2 + half, middle, 0, "YRo", outD, outH);
    doc.pieces.back().properties.back().comment = "\n\n";
    Piece lamp = makePiece(PieceKind::Lamp, "");
    lamp.properties.push_back(makeProperty('#', "Pos", {0, FLOOR_TOP + h - LAMP_LIFT, d / 4}));
    lamp.properties.push_back(makeProperty('#', "XRo", {-70}));
    lamp.properties.back().comment = "\n\n";
    doc.pieces.push_back(std::move(lamp));
    // From high over the back wall towards the laser, which then stands in view with its beam
    // coming down the room.
    Piece camera = makePiece(PieceKind::Camera, "start view, from above the back wall");
    camera.properties.push_back(
        makeProperty('#', "Pos", {0, std::trunc(FLOOR_TOP + h - 60), -std::trunc(d / 2 - 40)}));
    camera.properties.push_back(makeProperty('#', "XRo", {-35}));
    camera.properties.push_back(makeProperty('#', "YRo", {180}));
    doc.pieces.push_back(std::move(camera));
    reset(std::move(doc));
}

std::string LevelEditor::text() const {
    return document().text();
}

std::unique_ptr<Level> LevelEditor::build() const {
    auto level = std::make_unique<Level>();
    std::istringstream in(text());
    level->read(in);
    return level;
}

int LevelEditor::count() const {
    return static_cast<int>(document().pieces.size());
}

const Piece& LevelEditor::piece(int i) const {
    return document().pieces.at(static_cast<std::size_t>(i));
}

const LevelEditor::Shape& LevelEditor::shape() const {
    if (shapeSerial_ != states_[current_].serial) {
        Built built = buildDocument(document());
        shape_ = Shape{built.active, insideFlags(built)};
        shapeSerial_ = states_[current_].serial;
    }
    return shape_;
}

int LevelEditor::activeIndexOf(int piece) const {
    if (piece < 0 || piece >= count()) {
        return -1;
    }
    const auto [begin, end] = shape().active[piece];
    if (begin == end) {
        return -1;
    }
    // The element comes first in its holder group (children are registered before parents).
    return isHolder(document().pieces[piece].kind) ? begin : end - 1;
}

int LevelEditor::pieceOfActive(int activeIndex) const {
    const auto& ranges = shape().active;
    for (int i = 0; i < count(); ++i) {
        if (ranges[i].first <= activeIndex && activeIndex < ranges[i].second) {
            return i;
        }
    }
    return -1;
}

std::string LevelEditor::title() const {
    std::size_t begin, end;
    if (!titleSpan(document().leading, begin, end)) {
        return "";
    }
    return joined(words(document().leading.substr(begin, end - begin)));
}

std::string LevelEditor::introduction() const {
    std::size_t begin, end;
    if (!introductionSpan(document().leading, begin, end)) {
        return "";
    }
    return joined(words(document().leading.substr(begin, end - begin)));
}

bool LevelEditor::commit(LevelDocument document, int check) {
    if (check >= 0) {
        Built after = buildDocument(document);
        const auto [begin, end] = after.active[check];
        for (int i = begin; i < end; ++i) {
            ActiveObject* object = after.level->activeObjects[i];
            if (!(object->getCollisionRadius() > 0)) {
                continue;
            }
            if (const ActiveObject* blocker = placementBlocker(*after.level, object)) {
                refusal_ = lowered(refusalText(*blocker));
                return false;
            }
        }
        if (!insideRoom(after, check)) {
            refusal_ = "outside the room";
            return false;
        }
        if (document.text() != text()) {
            shape_ = Shape{after.active, insideFlags(after)};
            shapeSerial_ = nextSerial_;
        }
    }
    if (document.text() == text()) {
        return true; // nothing changed: no step
    }
    states_.resize(current_ + 1);
    states_.push_back(State{std::move(document), nextSerial_++});
    ++current_;
    return true;
}

bool LevelEditor::setTitle(const std::string& title) {
    const std::string safe = joined(words(commentSafe(title, false)));
    if (safe.empty()) {
        refusal_ = "a level needs a title";
        return false;
    }
    LevelDocument d = document();
    std::size_t begin, end;
    if (titleSpan(d.leading, begin, end)) {
        d.leading.replace(begin, end - begin, safe);
    } else {
        d.leading = safe + "\n\n" + d.leading;
    }
    return commit(std::move(d), -1);
}

bool LevelEditor::setIntroduction(const std::string& text) {
    std::vector<std::string> list = words(commentSafe(text, false));
    if (!list.empty() && list[0].rfind("Teaches:", 0) != 0) {
        list.insert(list.begin(), "Teaches:");
    }
    std::string wrapped, line;
    for (const std::string& w : list) {
        if (!line.empty() && line.size() + 1 + w.size() > WRAP) {
            wrapped += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + w;
    }
    wrapped += line;
    LevelDocument d = document();
    std::size_t begin, end;
    if (introductionSpan(d.leading, begin, end)) {
        if (wrapped.empty()) {
            // The paragraph goes, with the blank line after it.
            const std::size_t after = d.leading.find_first_not_of(" \t\r\n", end);
            d.leading.erase(begin, (after == std::string::npos ? d.leading.size() : after) - begin);
        } else {
            d.leading.replace(begin, end - begin, wrapped);
        }
    } else if (!wrapped.empty()) {
        if (titleSpan(d.leading, begin, end)) {
            d.leading.insert(end, "\n\n" + wrapped);
        } else {
            d.leading = wrapped + "\n\n" + d.leading;
        }
    }
    return commit(std::move(d), -1);
}

bool LevelEditor::rename(int piece, const std::string& name) {
    refusal_.clear();
    if (piece < 0 || piece >= count()) {
        return false;
    }
    LevelDocument d = document();
    Piece& p = d.pieces[piece];
    p.name = joined(words(commentSafe(name, false)));
    // The rest of the keyword, then the name, then the line's end and what follows as it was.
    const std::size_t word = std::min(p.comment.find_first_of(" \t\r\n"), p.comment.size());
    const std::size_t line = std::min(p.comment.find('\n'), p.comment.size());
    p.comment =
        p.comment.substr(0, word) + (p.name.empty() ? "" : " " + p.name) + p.comment.substr(line);
    return commit(std::move(d), -1);
}

bool LevelEditor::setStartView(const double eye[3], double pitchDegrees, double yawDegrees) {
    if (!finite3(eye) || !std::isfinite(yawDegrees) || !(std::fabs(pitchDegrees) < 90)) {
        refusal_ = "the view would look past the vertical";
        return false;
    }
    LevelDocument d = document();
    int camera = -1;
    for (int i = 0; i < static_cast<int>(d.pieces.size()); ++i) {
        if (d.pieces[i].kind == PieceKind::Camera) {
            camera = i; // the last one counts
        }
    }
    if (camera < 0) {
        camera = static_cast<int>(d.pieces.size());
        insertPiece(d, camera, makePiece(PieceKind::Camera, "start view"));
    }
    Piece& p = d.pieces[camera];
    std::vector<Property> lines = {
        makeProperty('#', "Pos", {std::trunc(eye[0]), std::trunc(eye[1]), std::trunc(eye[2])}),
        makeProperty('#', "XRo", {pitchDegrees}), makeProperty('#', "YRo", {yawDegrees})};
    // The comments after the lines before stay where they were.
    for (std::size_t i = 0; i < lines.size() && i < p.properties.size(); ++i) {
        lines[i].comment = p.properties[i].comment;
    }
    if (p.properties.size() > lines.size()) {
        lines.back().comment = p.properties.back().comment;
    }
    p.properties = std::move(lines);
    return commit(std::move(d), -1);
}

int LevelEditor::place(PieceKind kind, const double point[3], const double normal[3]) {
    refusal_.clear();
    if (!isElement(kind) && kind != PieceKind::Lamp) {
        refusal_ = "not an element";
        return -1;
    }
    const double length =
        std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
    if (!finite3(point) || !(length > 0) || !std::isfinite(length)) {
        refusal_ = "no surface";
        return -1;
    }
    LevelDocument d = document();
    if (kind == PieceKind::Emitter) {
        for (const Piece& p : d.pieces) {
            if (p.kind == PieceKind::Emitter) {
                refusal_ = "a level has one laser";
                return -1;
            }
        }
    }
    const double n[3] = {normal[0] / length, normal[1] / length, normal[2] / length};
    double at[3];
    for (int a = 0; a < 3; ++a) {
        at[a] = snapping && std::fabs(n[a]) < 0.5 ? snapped(point[a], grid)
                : std::fabs(n[a]) >= 0.5 ? std::round(point[a] / SURFACE_STEP) * SURFACE_STEP
                                         : point[a];
    }
    const double lift = isHolder(kind)                 ? HANG
                        : kind == PieceKind::Emitter   ? EMITTER_LIFT
                        : kind == PieceKind::Collector ? COLLECTOR_LIFT
                        : kind == PieceKind::Goal      ? GOAL_LIFT
                        : kind == PieceKind::Lamp      ? LAMP_LIFT
                                                       : BLOCK_SIZE / 2;
    Piece piece = makePiece(kind, "");
    // The pointer's float ray leaves noise in the last digits: a thousandth of a unit is kept.
    const auto clean = [](double v) { return std::round(v * 1000) / 1000; };
    piece.properties.push_back(makeProperty(
        '#', "Pos",
        {clean(at[0] + lift * n[0]), clean(at[1] + lift * n[1]), clean(at[2] + lift * n[2])}));
    if (kind == PieceKind::Wall) {
        const double s = BLOCK_SIZE / SLAB;
        piece.properties.push_back(makeProperty('#', "Sca", {s, s, BLOCK_SIZE / THICKNESS}));
    } else if (kind == PieceKind::Lamp) {
        piece.properties.push_back(makeProperty('#', "XRo", {-70}));
    } else {
        double turns[3];
        surfaceTurns(n, turns);
        const char* names[3] = {"ZRo", "XRo", "YRo"};
        for (int i = 0; i < 3; ++i) {
            if (std::fabs(turns[i]) > TURN_NOISE) {
                piece.properties.push_back(
                    makeProperty('#', names[i], {std::round(turns[i] * 1000) / 1000}));
            }
        }
    }
    if (kind == PieceKind::Filter || kind == PieceKind::Goal) {
        piece.properties.push_back(makeProperty('#', "Col", {kind == PieceKind::Goal ? 7.0 : 1.0}));
    }
    const int index = insertionPoint(d, kind);
    insertPiece(d, index, std::move(piece));
    return commit(std::move(d), index) ? index : -1;
}

bool LevelEditor::move(int piece, const double delta[3]) {
    refusal_.clear();
    if (piece < 0 || piece >= count() || !finite3(delta)) {
        return false;
    }
    LevelDocument d = document();
    Piece& p = d.pieces[piece];
    if (p.kind == PieceKind::Camera || p.kind == PieceKind::Other) {
        refusal_ = "nothing to move";
        return false;
    }
    double from[3], step[3];
    positionOf(p, from);
    for (int a = 0; a < 3; ++a) {
        step[a] = delta[a];
        if (snapping && delta[a] != 0) {
            step[a] = snapped(from[a] + delta[a], grid) - from[a];
        }
    }
    shift(p, step);
    // A wall of the room may go out of the room, an element inside it may not.
    return commit(std::move(d), shape().inside[piece] ? piece : -1);
}

bool LevelEditor::turn(int piece, double degrees) {
    refusal_.clear();
    if (piece < 0 || piece >= count() || !std::isfinite(degrees)) {
        return false;
    }
    LevelDocument d = document();
    Piece& p = d.pieces[piece];
    if (!isElement(p.kind) && p.kind != PieceKind::Lamp) {
        refusal_ = "nothing to turn";
        return false;
    }
    if (p.kind == PieceKind::Wall) {
        refusal_ = "walls stand square";
        return false;
    }
    if (p.kind == PieceKind::Lamp) {
        // The light's own view follows turns about one axis only.
        refusal_ = "a lamp keeps its turn";
        return false;
    }
    const PieceKind kind = p.kind;
    appendTransform(p, '#', "YRo", {degrees},
                    [kind](const Property& q) { return turnsObject(q, kind); });
    return commit(std::move(d), piece);
}

bool LevelEditor::tilt(int piece, double degrees) {
    refusal_.clear();
    if (piece < 0 || piece >= count() || !std::isfinite(degrees)) {
        return false;
    }
    LevelDocument d = document();
    Piece& p = d.pieces[piece];
    if (!isHolder(p.kind)) {
        refusal_ = "only a frame tilts";
        return false;
    }
    appendTransform(p, '+', "XRo", {degrees}, turnsFrame);
    return commit(std::move(d), piece);
}

bool LevelEditor::stepColour(int piece) {
    refusal_.clear();
    if (piece < 0 || piece >= count()) {
        return false;
    }
    LevelDocument d = document();
    Piece& p = d.pieces[piece];
    if (p.kind != PieceKind::Filter && p.kind != PieceKind::Goal) {
        refusal_ = "only filters and goals have a colour";
        return false;
    }
    Property* last = nullptr;
    for (Property& q : p.properties) {
        if (q.name == "Col") {
            last = &q;
        }
    }
    const int colour = last ? static_cast<int>(last->values[0]) : 0;
    const int next = colour >= 1 && colour < 7 ? colour + 1 : 1;
    if (last) {
        last->values[0] = next;
        last->rewrite();
    } else {
        p.properties.push_back(makeProperty('#', "Col", {static_cast<double>(next)}));
    }
    return commit(std::move(d), piece);
}

bool LevelEditor::scale(int piece, const double factors[3]) {
    refusal_.clear();
    if (piece < 0 || piece >= count()) {
        return false;
    }
    for (int a = 0; a < 3; ++a) {
        if (!(factors[a] > 0) || !std::isfinite(factors[a])) {
            refusal_ = "scale factors are positive";
            return false;
        }
    }
    LevelDocument d = document();
    Piece& p = d.pieces[piece];
    if (p.kind != PieceKind::Wall) {
        refusal_ = "only walls scale";
        return false;
    }
    appendTransform(p, '#', "Sca", {factors[0], factors[1], factors[2]},
                    [](const Property& q) { return turnsObject(q, PieceKind::Wall); });
    return commit(std::move(d), piece);
}

int LevelEditor::duplicate(int piece) {
    refusal_.clear();
    if (piece < 0 || piece >= count()) {
        return -1;
    }
    const Piece& original = document().pieces[piece];
    if (!isElement(original.kind) && original.kind != PieceKind::Lamp) {
        refusal_ = "nothing to copy";
        return -1;
    }
    if (original.kind == PieceKind::Emitter) {
        refusal_ = "a level has one laser";
        return -1;
    }
    // The copy's lines without the comments around the original.
    Piece copy = makePiece(original.kind, original.name);
    copy.properties = original.properties;
    for (Property& q : copy.properties) {
        q.comment = "\n";
    }
    // The spheres of the placement rule, the original's moved along with the copy: a place is
    // looked for on the built level, then tried for real.
    Built built = buildDocument(document());
    struct Sphere {
        Point centre;
        double radius;
    };
    std::vector<Sphere> spheres, moved;
    for (int i = 0; i < static_cast<int>(built.level->activeObjects.size()); ++i) {
        ActiveObject* object = built.level->activeObjects[i];
        const double r = object->getCollisionRadius();
        if (r > 0) {
            spheres.push_back({object->getBoundingCenter(), r});
            if (built.active[piece].first <= i && i < built.active[piece].second) {
                moved.push_back(spheres.back());
            }
        }
    }
    double low[3], high[3], origin[3];
    const bool room =
        shape().inside[piece] && roomBox(*built.level, low, high) && originOf(built, piece, origin);
    const auto fits = [&](const double o[3]) {
        for (int a = 0; room && a < 3; ++a) {
            if (!(low[a] < origin[a] + o[a] && origin[a] + o[a] < high[a])) {
                return false;
            }
        }
        for (const Sphere& m : moved) {
            for (const Sphere& other : spheres) {
                double d2 = 0;
                for (int a = 0; a < 3; ++a) {
                    const double d = m.centre[a] + o[a] - other.centre[a];
                    d2 += d * d;
                }
                const double reach = m.radius + other.radius;
                if (d2 < reach * reach) {
                    return false;
                }
            }
        }
        return true;
    };
    const double step = std::max(grid > 0 ? grid : 25.0, 25.0);
    for (int k = 1; k <= 80; ++k) {
        for (int axis : {0, 2}) {
            for (double sign : {1.0, -1.0}) {
                double delta[3] = {0, 0, 0};
                delta[axis] = sign * k * step;
                if (!fits(delta)) {
                    continue;
                }
                LevelDocument d = document();
                Piece p = copy;
                shift(p, delta);
                insertPiece(d, piece + 1, std::move(p));
                if (commit(std::move(d), piece + 1)) {
                    refusal_.clear();
                    return piece + 1;
                }
            }
        }
    }
    refusal_ = "no room beside it";
    return -1;
}

bool LevelEditor::remove(int piece) {
    refusal_.clear();
    if (piece < 0 || piece >= count()) {
        return false;
    }
    LevelDocument d = document();
    const PieceKind kind = d.pieces[piece].kind;
    if (kind == PieceKind::Emitter) {
        refusal_ = "a level needs its laser";
        return false;
    }
    if (kind == PieceKind::Lamp &&
        std::count_if(d.pieces.begin(), d.pieces.end(),
                      [](const Piece& p) { return p.kind == PieceKind::Lamp; }) == 1) {
        refusal_ = "a level needs a lamp";
        return false;
    }
    d.pieces.erase(d.pieces.begin() + piece);
    return commit(std::move(d), -1);
}

bool LevelEditor::undo() {
    if (!canUndo()) {
        return false;
    }
    --current_;
    return true;
}

bool LevelEditor::redo() {
    if (!canRedo()) {
        return false;
    }
    ++current_;
    return true;
}

bool LevelEditor::canUndo() const {
    return current_ > 0;
}

bool LevelEditor::canRedo() const {
    return current_ + 1 < states_.size();
}

bool LevelEditor::modified() const {
    return states_[current_].serial != savedSerial_;
}

void LevelEditor::markSaved() {
    savedSerial_ = states_[current_].serial;
}

bool writeFileWhole(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out || !out.write(text.data(), static_cast<std::streamsize>(text.size())) ||
            !out.flush()) {
            out.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
