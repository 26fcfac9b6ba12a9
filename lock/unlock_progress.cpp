#include <algorithm>
#include <string_view>

#include "app/program.h"
#include "editor/main_window.h"
#include "lock/lock_window.h"

namespace inkmoss {

namespace {

constexpr int kFullWidth = 380;

// The percentage shown for a bar width; nothing from 190 to 280, where the
// text stays at "65%".
std::string_view percentFor(int width) {
    static constexpr std::string_view kByTen[] = {
        "",    "10%", "15%", "15%", "20%", "20%", "25%", "25%", "30%", "30%", "35%", "35%", "40%",
        "40%", "45%", "50%", "55%", "60%", "65%", "",    "",    "",    "",    "",    "",    "",
        "",    "",    "",    "70%", "75%", "80%", "85%", "90%", "93%", "95%", "97%", "99%", "100%",
    };
    if (width % 10 != 0 || width < 0 || width > kFullWidth) return {};
    return kByTen[width / 10];
}

}  // namespace

void LockWindow::step() {
    // An unlock repeated after the bar is full restarts this timer; the bar
    // then stays full rather than running past its frame.
    外形框3.setWidth(std::min(外形框3.width() + 10, kFullWidth));
    透明标签6.setVisible(true);
    if (外形框3.width() == kFullWidth) 时钟1.setPeriod(0);
    if (const std::string_view text = percentFor(外形框3.width()); !text.empty()) 透明标签6.setText(text);
}

// The main window's creation takes this window away; the hand-over does not
// wait for the bar.
void LockWindow::handOver() { program().load(program().main()); }

}  // namespace inkmoss
