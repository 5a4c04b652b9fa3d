// What the notification service trusts, one row per rule: the programs it starts, the
// store it reads, and the files CreateFileW opens. Each row is checked in a child
// running as an unprivileged user (made here when the suite runs as root, as CI
// does), since ownership rules mean nothing to root.
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>

#include "notify/notification_store.h"
#include "notify/trusted_program.h"
#include "testing.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUser = "tickvane-trust";
constexpr uid_t kNobody = 65534;

struct Runner {
    uid_t uid;
    gid_t gid;
    bool switches;  // this process is root and runs each check as `uid`
};

std::optional<Runner> runner(std::string& why)
{
    if (geteuid() != 0)
        return Runner{geteuid(), getegid(), false};
    if (!getpwnam(kUser) &&
        std::system("useradd --system --no-create-home --shell /usr/sbin/nologin tickvane-trust >/dev/null 2>&1") != 0)
        why = "useradd could not make the user tickvane-trust";
    const passwd* user = getpwnam(kUser);
    if (!user)
        return std::nullopt;
    return Runner{user->pw_uid, user->pw_gid, true};
}

// A device tree for one row, and a folder outside it; both the runner's.
struct Trees {
    Runner who;
    fs::path root, outside;
    explicit Trees(const Runner& r) : who(r)
    {
        for (fs::path* p : {&root, &outside}) {
            std::string pattern = (fs::temp_directory_path() / "tickvane-trust-XXXXXX").string();
            *p = mkdtemp(pattern.data());
            own(*p, who.uid);
        }
        folder("Program Files/Test", 0755, who.uid);
        file(outside / "p", 0755, who.uid);
    }
    ~Trees()
    {
        std::error_code ec;
        fs::remove_all(root, ec);
        fs::remove_all(outside, ec);
    }
    void own(const fs::path& p, uid_t uid) const { EXPECT_EQ(lchown(p.c_str(), uid, who.gid), 0) << p; }
    void folder(const std::string& at, mode_t mode, uid_t uid) const
    {
        fs::create_directories(root / at);
        for (fs::path p = root / at; p != root; p = p.parent_path())
            own(p, p == root / at ? uid : who.uid);
        chmod((root / at).c_str(), mode);
    }
    void file(const fs::path& p, mode_t mode, uid_t uid) const
    {
        std::ofstream(p) << "#!/bin/sh\necho outside\n";
        chmod(p.c_str(), mode);
        own(p, uid);
    }
    void program(mode_t mode, uid_t uid) const { file(root / "Program Files/Test/p", mode, uid); }
    void link(const fs::path& target) const
    {
        fs::create_symlink(target, root / "Program Files/Test/p");
        own(root / "Program Files/Test/p", who.uid);
    }
    void store(mode_t folder_mode, uid_t folder_uid) const
    {
        fs::create_directory(root / ".device");
        chmod((root / ".device").c_str(), folder_mode);
        own(root / ".device", folder_uid);
    }
};

enum class Rule { start, store, open_file };
enum Verdict { allowed = 0, refused = 1, wrong_modes = 3, child_failed = 100 };

mode_t mode_of(const fs::path& p)
{
    struct stat st {};
    return stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// In the child, as the runner: what the rule decides.
Verdict decide(Rule rule, const fs::path& root)
{
    namespace notify = tickvane::device::notify;
    if (rule == Rule::start) {
        fs::path resolved;
        return notify::untrusted(root / "Program Files/Test/p", notify::trusted_tops(root, ""), resolved).empty()
                   ? allowed
                   : refused;
    }
    if (rule == Rule::store) {
        std::string error;
        auto store = notify::NotificationStore::open(root, true, error);
        if (!store || !store->add("2030-01-01 00:00:00", "Program Files\\Test\\p", ""))
            return refused;
        fs::path db = notify::database_path(root);
        bool privately = mode_of(root / ".device") == 0700 && mode_of(db) == 0600 &&
                         mode_of(db.string() + "-wal") == 0600 && mode_of(db.string() + "-shm") == 0600;
        return privately ? allowed : wrong_modes;
    }
    tickvane::device::testing::Options options;
    options.root = root;
    tickvane::device::testing::reset(options);
    HANDLE h = CreateFileW(u"Program Files\\Test\\p", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    return h == INVALID_HANDLE_VALUE ? refused : (CloseHandle(h), allowed);
}

Verdict decide_as(const Runner& who, Rule rule, const fs::path& root)
{
    pid_t pid = fork();
    if (pid == 0) {
        if (who.switches && (setgroups(0, nullptr) != 0 || setgid(who.gid) != 0 || setuid(who.uid) != 0))
            _exit(child_failed);
        umask(0);  // what the device makes private must not depend on it
        _exit(decide(rule, root));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? static_cast<Verdict>(WEXITSTATUS(status)) : child_failed;
}

TEST(Trust, OnlyTheUsersOwnFilesInTheTreeAreStartedReadOrOpened)
{
    std::string why;
    std::optional<Runner> who = runner(why);
    if (!who)
        GTEST_SKIP() << why;
    const struct {
        const char* what;
        Rule rule;
        bool needs_root;  // to give a file another owner
        std::function<void(Trees&)> lay_out;
        Verdict verdict;
    } rows[] = {
        {"the user's program", Rule::start, false, [](Trees& t) { t.program(0755, t.who.uid); }, allowed},
        {"a program the group can write", Rule::start, false, [](Trees& t) { t.program(0775, t.who.uid); }, refused},
        {"a program anyone can write", Rule::start, false, [](Trees& t) { t.program(0757, t.who.uid); }, refused},
        {"root's program", Rule::start, true, [](Trees& t) { t.program(0755, 0); }, allowed},
        {"another user's program", Rule::start, true, [](Trees& t) { t.program(0755, kNobody); }, refused},
        {"a link to a program in the tree", Rule::start, false,
         [](Trees& t) {
             t.file(t.root / "Program Files/real", 0755, t.who.uid);
             t.link(t.root / "Program Files/real");
         },
         allowed},
        {"a link to /bin/sh", Rule::start, false, [](Trees& t) { t.link("/bin/sh"); }, refused},
        {"a link to the user's program outside the tree", Rule::start, false, [](Trees& t) { t.link(t.outside / "p"); },
         refused},
        {"a program in a folder others can write", Rule::start, false,
         [](Trees& t) {
             t.program(0755, t.who.uid);
             chmod((t.root / "Program Files/Test").c_str(), 0777);
         },
         refused},
        {"a folder where the program should be", Rule::start, false,
         [](Trees& t) { t.folder("Program Files/Test/p", 0755, t.who.uid); }, refused},
        {"a fresh store under umask 000", Rule::store, false, [](Trees&) {}, allowed},
        {"a device folder others can write", Rule::store, false, [](Trees& t) { t.store(0777, t.who.uid); }, refused},
        {"another user's device folder", Rule::store, true, [](Trees& t) { t.store(0700, kNobody); }, refused},
        {"another user's store", Rule::store, true,
         [](Trees& t) {
             t.store(0700, t.who.uid);
             t.file(t.root / ".device/notifications.db", 0600, kNobody);
         },
         refused},
        {"a store that is a link", Rule::store, false,
         [](Trees& t) {
             t.store(0700, t.who.uid);
             fs::create_symlink(t.outside / "p", t.root / ".device/notifications.db");
             t.own(t.root / ".device/notifications.db", t.who.uid);
         },
         refused},
        {"a store the user cannot write", Rule::store, false,
         [](Trees& t) {
             t.store(0700, t.who.uid);
             t.file(t.root / ".device/notifications.db", 0400, t.who.uid);
         },
         refused},
        {"a folder that is no device tree", Rule::store, false,
         [](Trees& t) { fs::remove_all(t.root / "Program Files"); }, refused},
        {"a file in the tree", Rule::open_file, false, [](Trees&) {}, allowed},
        {"a link within the tree", Rule::open_file, false,
         [](Trees& t) {
             t.file(t.root / "Program Files/real", 0644, t.who.uid);
             t.link(t.root / "Program Files/real");
         },
         allowed},
        {"a link out of the tree", Rule::open_file, false, [](Trees& t) { t.link(t.outside / "p"); }, refused},
    };
    for (const auto& row : rows) {
        if (row.needs_root && !who->switches) {
            std::printf("skipped (needs root to give a file another owner): %s\n", row.what);
            continue;
        }
        Trees trees(*who);
        row.lay_out(trees);
        EXPECT_EQ(decide_as(*who, row.rule, trees.root), row.verdict) << row.what;
        std::ifstream outside(trees.outside / "p");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(outside), {}), "#!/bin/sh\necho outside\n")
            << row.what << ": the file outside the tree changed";
    }
}

}  // namespace
