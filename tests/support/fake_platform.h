// Platform services for window tests: records every call and answers from a queue.
#pragma once

#include "gui/base/platform.h"

#include <deque>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zvtest {

struct BoxCall {
    zv::Text text; // GBK, as the program passed it
    int style;
    zv::Text title;
};

class FakePlatform : public zv::Platform {
public:
    int MessageBox(const zv::Text& text, int style, const zv::Text& title = {}) override {
        boxes.push_back({text, style, title});
        if (onBox) onBox(boxes.back());
        // A box with only an OK button needs no answer; a question does.
        if ((style & 0x0F) == 0) return zv::kOk;
        if (answers.empty()) {
            ADD_FAILURE() << "a question was asked with no answer queued";
            return zv::kCancel;
        }
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    void OpenUrl(const zv::Text& url) override { urls.push_back(url); }
    zv::Text OpenFileName(QWidget*, const zv::Text& caption, const zv::Text& filter) override {
        dialogs.push_back(caption + "|" + filter);
        if (files.empty()) {
            ADD_FAILURE() << "a file dialog was opened with no answer queued";
            return {};
        }
        zv::Text f = files.front();
        files.pop_front();
        return f;
    }
    void EndProgram() override { ++ends; }
    bool Ending() const override { return ends > 0; }

    std::vector<BoxCall> boxes;
    std::deque<int> answers;
    std::vector<zv::Text> urls;
    std::vector<zv::Text> dialogs;
    std::deque<zv::Text> files;
    std::function<void(const BoxCall&)> onBox;
    int ends = 0;
};

} // namespace zvtest
