#pragma once

#include <QString>

#include <array>

// The sixteen permission check boxes of the user window and how they depend on
// each other: a permission that builds on another one can only be granted with
// it, and taking the other one away takes it away too (writing projects needs
// reading them, the options' pages need the options, dunning needs the open
// invoices ...). Index n is permission n; index 0 is unused.
class PermissionBoxes
{
public:
    // The state before a user is shown: nothing checked, the dependent boxes disabled.
    PermissionBoxes();
    // The boxes of a user's sixteen "J"/"N", set one after the other from 1 to 16.
    static PermissionBoxes of(const QString &perms);

    // Checks or unchecks a box and follows the rules; a disabled box stays as it is.
    void set(int n, bool on);
    bool checked(int n) const { return m_checked.at(std::size_t(n)); }
    bool enabled(int n) const { return m_enabled.at(std::size_t(n)); }
    // The sixteen "J"/"N" of the checked boxes.
    QString perms() const;

private:
    void release(int n, bool on);

    std::array<bool, 17> m_checked{};
    std::array<bool, 17> m_enabled{};
};
