#include "workbench/dish_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <numbers>

#include "simulator/dish_trace.h"
#include "win/wall_clock.h"
#include "workbench/workbench_log.h"

namespace {

constexpr wchar_t DIAL_CLASS[] = L"DiSEqCWorkbenchDial";
constexpr UINT_PTR DIAL_TIMER = 1;
// About 25 pictures a second while the dish turns; none while it rests.
constexpr UINT DIAL_TIMER_MS = 40;
constexpr double DIAL_RANGE = DEFAULT_END_STOP;
constexpr char DEGREE[] = "\xC2\xB0";
constexpr char ARROW[] = " \xE2\x86\x92 ";
constexpr COLORREF DISH_COLOUR = RGB(20, 20, 20);
constexpr COLORREF TARGET_COLOUR = RGB(200, 0, 0);
constexpr COLORREF BELIEF_COLOUR = RGB(230, 110, 0);

// West on the left, east on the right, the reference position straight up.
POINT onDial(double degrees, int centreX, int centreY, double radius) {
    const double theta = (90.0 - degrees * 90.0 / DIAL_RANGE) * std::numbers::pi / 180.0;
    return {centreX + static_cast<LONG>(std::lround(radius * std::cos(theta))),
            centreY - static_cast<LONG>(std::lround(radius * std::sin(theta)))};
}

void line(HDC dc, POINT from, POINT to) {
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
}

void text(HDC dc, int x, int y, const std::string& utf8, UINT align) {
    const std::wstring wide = wideFromUtf8(utf8);
    SetTextAlign(dc, align);
    TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

DishView* viewOf(HWND window) {
    return reinterpret_cast<DishView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK dialProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may unwind into the system's dispatch code.
    try {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        DishView* view = viewOf(window);
        if (view != nullptr && message == WM_PAINT) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT area;
            GetClientRect(window, &area);
            // Drawn off screen first, so that the turning needle does not flicker.
            HDC memory = CreateCompatibleDC(dc);
            HBITMAP bitmap = CreateCompatibleBitmap(dc, area.right, area.bottom);
            HGDIOBJ previous = SelectObject(memory, bitmap);
            view->paint(memory, area);
            BitBlt(dc, 0, 0, area.right, area.bottom, memory, 0, 0, SRCCOPY);
            SelectObject(memory, previous);
            DeleteObject(bitmap);
            DeleteDC(memory);
            EndPaint(window, &paint);
            return 0;
        }
        if (view != nullptr && message == WM_TIMER && wParam == DIAL_TIMER) {
            view->animate();
            return 0;
        }
        if (message == WM_ERASEBKGND) return 1;
    } catch (const std::exception&) {
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::string seconds(double ms) {
    char shown[32];
    std::snprintf(shown, sizeof shown, "%.1f s", ms / 1000.0);
    return shown;
}

}  // namespace

std::string dishAngleText(std::optional<double> degrees) {
    return degrees ? dishAngleText(*degrees) : "unknown";
}

std::string dishAngleText(double degrees) {
    const std::string shown = formatAngle(std::abs(degrees));
    if (shown == "0.00") return shown + DEGREE;
    return shown + DEGREE + (degrees > 0 ? "E" : "W");
}

DishView::DishView(std::optional<PositionerModel> fixedModel, const std::string& tracePath)
    : fixedModel_(fixedModel),
      model_(fixedModel.value_or(PositionerModel::Stab)),
      simulator_(speed(model_)),
      startTick_(GetTickCount64()),
      belief_{false, DishModel::unknown(speed(model_))} {
    if (tracePath.empty()) return;
    trace_.open(tracePath, std::ios::trunc);
    trace_ << "# DiSEqC commands from the workbench; replay with dish-sim --model "
           << (model_ == PositionerModel::Stab ? "stab" : "moteck") << " FILE\n";
    trace_.flush();
}

DishView::~DishView() {
    if (dial_ != nullptr && IsWindow(dial_)) KillTimer(dial_, DIAL_TIMER);
}

bool DishView::createDial(HWND parent) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW dialClass{};
    dialClass.cbSize = sizeof dialClass;
    dialClass.lpfnWndProc = dialProcedure;
    dialClass.hInstance = instance;
    dialClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    dialClass.lpszClassName = DIAL_CLASS;
    RegisterClassExW(&dialClass);
    dial_ = CreateWindowExW(WS_EX_CLIENTEDGE, DIAL_CLASS, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                            parent, nullptr, instance, this);
    return dial_ != nullptr;
}

std::uint64_t DishView::nowMs() const {
    return GetTickCount64() - startTick_;
}

void DishView::startAnimating() {
    if (dial_ == nullptr) return;
    animating_ = true;
    SetTimer(dial_, DIAL_TIMER, DIAL_TIMER_MS, nullptr);
    InvalidateRect(dial_, nullptr, FALSE);
}

void DishView::watchBelief(std::string statePath) {
    beliefPath_ = std::move(statePath);
    readBelief();
    // A motion that an earlier run started may still be under way.
    if (belief_.dish.movingAt(wallClockMs())) startAnimating();
    if (dial_ != nullptr) InvalidateRect(dial_, nullptr, FALSE);
}

const PluginBelief& DishView::readBelief() {
    belief_ = readPluginBelief(beliefPath_, simulator_.speed());
    return belief_;
}

std::string DishView::command(const std::vector<std::uint8_t>& bytes,
                              std::optional<PositionerModel> chosen) {
    const std::uint64_t now = nowMs();
    // The plug-in may keep the command before or after it sends it; the
    // timer's next redraw reads the file again.
    readBelief();
    const PositionerModel model = fixedModel_.value_or(chosen.value_or(model_));
    if (model != model_) {
        model_ = model;
        simulator_.setSpeed(static_cast<double>(now), speed(model));
        if (trace_.is_open()) {
            trace_ << "# the setup window chose the "
                   << (model == PositionerModel::Stab ? "stab" : "moteck") << " from here\n";
        }
    }
    if (trace_.is_open()) {
        trace_ << traceLine(now, bytes) << "\n";
        trace_.flush();
    }
    const CommandOutcome outcome = simulator_.send(static_cast<double>(now), bytes);
    // The command acts a few milliseconds from now; the timer shows it then.
    startAnimating();
    if (outcome.motion) {
        return "dish " + dishAngleText(outcome.from) + ARROW + dishAngleText(outcome.to) + ", " +
               seconds(outcome.durationMs) + "  (" + outcome.note + ")";
    }
    const DishState state = simulator_.stateAt(outcome.actsAtMs);
    return "dish " + dishAngleText(state.angle) + ": " + outcome.note;
}

void DishView::animate() {
    if (dial_ == nullptr) return;
    readBelief();
    InvalidateRect(dial_, nullptr, FALSE);
    const double now = static_cast<double>(nowMs());
    // Commands still on the bus count as motion to come.
    const bool settled = !simulator_.stateAt(now).moving && !simulator_.stateAt(now + 200).moving &&
                         !belief_.dish.movingAt(wallClockMs());
    if (settled && animating_) {
        KillTimer(dial_, DIAL_TIMER);
        animating_ = false;
    }
}

void DishView::paint(HDC dc, const RECT& area) const {
    const DishState state = simulator_.stateAt(static_cast<double>(nowMs()));
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));

    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const double radius = std::max(20.0, std::min(width / 2.0 - 30.0, height - 110.0));
    const int centreX = width / 2;
    const int centreY = static_cast<int>(40 + radius);

    HPEN scale = CreatePen(PS_SOLID, 1, RGB(96, 96, 96));
    HGDIOBJ oldPen = SelectObject(dc, scale);
    for (int degrees = -80; degrees <= 80; degrees += 10) {
        const double inner = degrees % 40 == 0 ? radius - 10 : radius - 5;
        line(dc, onDial(degrees, centreX, centreY, inner),
             onDial(degrees, centreX, centreY, radius));
    }
    SetTextColor(dc, RGB(64, 64, 64));
    const POINT west = onDial(-80, centreX, centreY, radius + 14);
    const POINT east = onDial(80, centreX, centreY, radius + 14);
    const POINT top = onDial(0, centreX, centreY, radius + 4);
    text(dc, west.x, west.y, "W", TA_CENTER | TA_BOTTOM);
    text(dc, east.x, east.y, "E", TA_CENTER | TA_BOTTOM);
    text(dc, top.x, top.y, std::string("0") + DEGREE, TA_CENTER | TA_BOTTOM);

    // Stored positions: a blue mark and its number outside the scale.
    HPEN storedPen = CreatePen(PS_SOLID, 3, RGB(0, 90, 200));
    SelectObject(dc, storedPen);
    SetTextColor(dc, RGB(0, 90, 200));
    for (const auto& [slot, degrees] : state.stored) {
        if (!degrees) continue;
        const double shown = std::clamp(*degrees, -DIAL_RANGE, DIAL_RANGE);
        line(dc, onDial(shown, centreX, centreY, radius + 2),
             onDial(shown, centreX, centreY, radius + 10));
        const POINT label = onDial(shown, centreX, centreY, radius + 24);
        text(dc, label.x, label.y + 6, std::to_string(slot), TA_CENTER | TA_BOTTOM);
    }

    // The target while the dish moves: a red dashed line.
    HPEN targetPen = CreatePen(PS_DASH, 1, TARGET_COLOUR);
    if (state.moving && state.target) {
        SelectObject(dc, targetPen);
        line(dc, {centreX, centreY}, onDial(*state.target, centreX, centreY, radius));
    }

    // The dish itself.
    HPEN needle = CreatePen(PS_SOLID, 4, DISH_COLOUR);
    SelectObject(dc, needle);
    // Where the angle is unknown, the hub alone.
    if (state.angle) {
        const POINT tip = onDial(*state.angle, centreX, centreY, radius - 14);
        line(dc, {centreX, centreY}, tip);
        Ellipse(dc, tip.x - 7, tip.y - 7, tip.x + 7, tip.y + 7);
    }
    Ellipse(dc, centreX - 5, centreY - 5, centreX + 5, centreY + 5);

    // The plug-in's belief on top, so that it still shows where the two
    // agree: a dashed line and a hollow ring around the dish's own tip.
    const double wallNow = wallClockMs();
    const DishModel& belief = belief_.dish;
    const std::optional<double> believed = belief.angleAt(wallNow);
    // Wide dashes, unlike the thin ones of the dish's target.
    const LOGBRUSH beliefBrush{BS_SOLID, BELIEF_COLOUR, 0};
    HPEN beliefLine =
        ExtCreatePen(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT, 3, &beliefBrush, 0, nullptr);
    HPEN beliefRing = CreatePen(PS_SOLID, 2, BELIEF_COLOUR);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    if (believed) {
        const POINT tip = onDial(*believed, centreX, centreY, radius - 14);
        SelectObject(dc, beliefLine);
        line(dc, {centreX, centreY}, tip);
        SelectObject(dc, beliefRing);
        Ellipse(dc, tip.x - 11, tip.y - 11, tip.x + 11, tip.y + 11);
    }

    SetTextColor(dc, DISH_COLOUR);
    std::string where = "dish " + dishAngleText(state.angle);
    if (state.moving) where += ARROW + dishAngleText(state.target);
    text(dc, centreX, centreY + 12, where, TA_CENTER | TA_TOP);
    const std::string how = std::string(state.moving ? "moving" : "idle") + " at " +
                            formatAngle(simulator_.speed()) + DEGREE + "/s";
    text(dc, centreX, centreY + 30, how, TA_CENTER | TA_TOP);
    SetTextColor(dc, BELIEF_COLOUR);
    std::string believes = "belief: " + dishAngleText(believed);
    if (belief.movingAt(wallNow))
        believes += belief.motion().to ? ARROW + dishAngleText(belief.motion().to) : ", moving";
    text(dc, centreX, centreY + 48, believes, TA_CENTER | TA_TOP);

    // The legend: a short piece of each line with its meaning.
    const int legendX = std::max(8, centreX - 100);
    int legendY = centreY + 76;
    const auto legend = [&](HPEN pen, COLORREF colour, const char* meaning) {
        SelectObject(dc, pen);
        line(dc, {legendX, legendY}, {legendX + 24, legendY});
        SetTextColor(dc, colour);
        text(dc, legendX + 32, legendY - 7, meaning, TA_LEFT | TA_TOP);
        legendY += 18;
    };
    legend(needle, DISH_COLOUR, "simulated dish (the truth)");
    legend(targetPen, TARGET_COLOUR, "where it is going");
    legend(beliefLine, BELIEF_COLOUR, "plug-in's belief (its state file)");
    SelectObject(dc, beliefRing);
    Ellipse(dc, legendX + 6, legendY - 24, legendX + 18, legendY - 12);

    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldFont);
    DeleteObject(scale);
    DeleteObject(storedPen);
    DeleteObject(targetPen);
    DeleteObject(needle);
    DeleteObject(beliefLine);
    DeleteObject(beliefRing);
}
