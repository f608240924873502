#pragma once

// While it lives, one write of the engine to a rollback journal fails, the
// `nth` from now, as a network share or a filling disk lets one write fail.
class JournalWriteFailure {
public:
    explicit JournalWriteFailure(int nth);
    ~JournalWriteFailure();
    JournalWriteFailure(const JournalWriteFailure&) = delete;
    JournalWriteFailure& operator=(const JournalWriteFailure&) = delete;

    // Journal writes so far.
    int writes() const;
};
