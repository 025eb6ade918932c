// The program's own message texts and captions, for checking that every box a
// faulted run shows is one of them. Formatted texts are matched by their fixed
// prefix and suffix.
#pragma once
#include <string>

#include "platform/sim/sim.h"

namespace sweep {

struct KnownMessage {
    const char* caption;
    const char* prefix;  // the whole text when suffix is null
    const char* suffix;
};

inline const KnownMessage knownMessages[] = {
    {"終了", "インストールが完了しました。", nullptr},
    {"終了", "アップデートが完了しました。", nullptr},
    {"終了", "アンインストールが完了しました。", nullptr},
    {"確認", "Velmora のアンインストールを開始します。\n開始してもよろしいですか？", nullptr},
    {"確認", "", "\nフォルダを作成します。\nよろしいですか？"},
    {"確認", "", " フォルダを作成できませんでした。"},
    {"確認", "", "Mの容量が必要です。"},
    {"確認",
     "インストールが正常に行われませんでした。\nもう一度ご確認の上、インストールを行ってください。",
     nullptr},
    {"確認", "インストールがされてませんでした。\nインストールを行ってからアップデートしてください。",
     nullptr},
    {"Error", "不正なフォルダです", nullptr},
    {"Error", "SHGetMalloc Error", nullptr},
};

inline bool endsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

inline bool isKnown(const sim::Box& box) {
    for (const KnownMessage& m : knownMessages) {
        if (box.caption != m.caption) continue;
        if (m.suffix == nullptr ? box.text == m.prefix
                                : box.text.rfind(m.prefix, 0) == 0 && endsWith(box.text, m.suffix))
            return true;
    }
    return false;
}

}  // namespace sweep
