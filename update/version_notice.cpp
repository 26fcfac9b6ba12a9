#include "update/version_notice.h"

#include <array>

#include "app/backend.h"
#include "app/deployment.h"
#include "app/program.h"
#include "app/ui_texts.h"
#include "lock/lock_window.h"
#include "update/nickname.h"

namespace inkmoss {

void announceNewVersion(LockWindow& w) {
    const std::array<std::string_view, 2> accounts{deployment::kVersionAccount, deployment::kDownloadAccount};
    const std::vector<Text> nicknames = FetchProfileNicknames(w.program().backend(), accounts);
    w.透明标签11.setText(nicknames[0]);
    w.透明标签9.setText(nicknames[1]);

    const Text newest = w.透明标签11.text();
    // An empty version means the lookup failed: nothing is known to announce.
    if (newest == w.标签1.text() || newest.empty()) return;

    w.program().backend().messageBox(ui::new_version, ui::info_caption, kBoxOk | kBoxIconExclamation | kBoxTaskModal);
    w.超级链接框2.setAddress(w.透明标签9.text());
    w.超级链接框2.setText(Text(ui::download_prefix) + newest + Text(ui::download_suffix));
    w.超级链接框2.setVisible(true);
}

}  // namespace inkmoss
