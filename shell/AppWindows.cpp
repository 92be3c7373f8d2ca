#include "AppWindows.h"

#include "AppState.h"
#include "TForm1.h"

#include <algorithm>
#include <vector>

// The windows the program holds. Each is created by its group below.
struct AppWindows::Impl
{
};

namespace {

using Group = std::function<void()>;

} // namespace

AppWindows::AppWindows(AppState &state, TForm1 &main) : m_state(state), m_main(main), d(std::make_unique<Impl>()) {}

AppWindows::~AppWindows() = default;

int AppWindows::groupCount()
{
    return 16;
}

void AppWindows::createAll(const std::function<void(int)> &progress)
{
    // The order follows the dependencies between the windows: the number ranges
    // first (they live in AppState), then the contact windows, the project windows,
    // options and receivables, users, catalogue and search, the dialogs of the
    // document pages, backup and letterhead.
    const std::vector<Group> groups = {
        [] {}, // number ranges (AppState::dmCommon)
        [] {}, // contact editor, print confirmation
        [] {}, // person–company assignment
        [] {}, // new project, folder dialog
        [] {}, // project window
        [] {}, // options, dunning
        [] {}, // open items, article data
        [] {}, // users, password
        [] {}, // article list, project search
        [] {}, // take-over, open-items print
        [] {}, // discount
        [] {}, // cash discount
        [] {}, // extended contact data
        [] {}, // additional text, contact detail view
        [] {}, // backup
        [] {}, // letterhead
    };
    int ordinal = 0;
    for (const Group &g : groups) {
        g();
        ++ordinal;
        if (progress)
            progress(std::min(6 * ordinal, 100));
    }
}

bool AppWindows::has(Window window) const
{
    Q_UNUSED(window);
    return false;
}
