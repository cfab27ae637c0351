#pragma once
// What the native file readers and writers share: the workbook, the formula language, the user's
// answers, and the protection settings that live above this layer.
#include <array>
#include <cstdint>
#include <string>

#include "core/cell_store.h"
#include "files/record_scanner.h"
#include "platform/platform.h"

namespace qx {

class FormulaEngine;

inline constexpr uint32_t kDefaultProtectionFlags = 4094;
inline constexpr uint32_t kOpenPasswordBit = 0x1;

// The protection settings as the files see them; the protection layer installs its own.
class ProtectionPort {
  public:
    virtual ~ProtectionPort() = default;
    // False when the level may not receive new cells (the refusal is shown by the implementation).
    virtual bool mayAddCells(int level) = 0;
    // Asks for the open password of a workbook being read when its flags want one; false stops the load.
    virtual bool openPasswordAccepted(const std::string& password, uint32_t flags) = 0;
    virtual std::string password() const = 0;
    // Level 0 is the workbook's word.
    virtual uint32_t flags(int level) const = 0;
    virtual void setPassword(const std::string& password) = 0;
    virtual void setFlags(int level, uint32_t flags) = 0;
    // Every password cleared and every word back to the default.
    virtual void reset() = 0;
};

// Keeps the words without checking anything: for tests and tools without a protection layer.
class PlainProtection final : public ProtectionPort {
  public:
    bool mayAddCells(int) override { return true; }
    bool openPasswordAccepted(const std::string&, uint32_t) override { return true; }
    std::string password() const override { return m_password; }
    uint32_t flags(int level) const override {
        return level >= 0 && level < kMaxLevelCount ? m_flags[static_cast<std::size_t>(level)]
                                                    : kDefaultProtectionFlags;
    }
    void setPassword(const std::string& password) override { m_password = password; }
    void setFlags(int level, uint32_t flags) override {
        if (level >= 0 && level < kMaxLevelCount) m_flags[static_cast<std::size_t>(level)] = flags;
    }
    void reset() override {
        m_password.clear();
        m_flags.fill(kDefaultProtectionFlags);
    }

  private:
    std::string m_password;
    std::array<uint32_t, kMaxLevelCount> m_flags = [] {
        std::array<uint32_t, kMaxLevelCount> a{};
        a.fill(kDefaultProtectionFlags);
        return a;
    }();
};

struct FileContext {
    CellStore& store;
    FormulaEngine& formulas;
    Platform& platform;
    ProtectionPort& protection;
    LevelDefaults defaults;  // what a cleared level starts from
};

// A scanner that can give one token back, so a list reader that meets the next record leaves it
// for the record loop. Failed (over-long) tokens are dropped and counted.
class TokenSource {
  public:
    explicit TokenSource(RecordScanner& scanner) : m_scanner(scanner) {}
    bool next(Token& token) {
        if (m_held) {
            m_held = false;
            token = m_token;
            return true;
        }
        while (m_scanner.next(token)) {
            if (!token.failed) return true;
            ++m_failed;
        }
        return false;
    }
    void giveBack(const Token& token) {
        m_token = token;
        m_held = true;
    }
    void skipRecord() { m_scanner.skipRecord(); }
    int failedTokens() const { return m_failed; }

  private:
    RecordScanner& m_scanner;
    Token m_token;
    bool m_held = false;
    int m_failed = 0;
};

}  // namespace qx
