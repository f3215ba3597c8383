#pragma once
#include "foundation/FailureKind.h"
#include <QString>

#include <optional>
#include <utility>

// What every operation that can fail gives back: its value, or a failure of
// some kind with a message in Chinese ready to show ("未能写入“a.pdf”：磁盘已满").
// The kind decides how it is shown (title and icon of the message box, exit
// status of the command line); nobody reads the message to find that out.
//
//     Result<QByteArray> read(...) { ...; return Failure{FailureKind::FileSystem, QStringLiteral("…"), errno}; ... }
//     const Result<> written = write(...); if (!written) showFailure(ui, written);

struct Failure {
    FailureKind kind = FailureKind::Other;
    QString message;
    int osError = 0;   // errno, for the file system's failures

    // What the user is shown: a refused field also asks to try again.
    QString text() const
    {
        return kind == FailureKind::RefusedField ? message + QStringLiteral("\r\n请重试！") : message;
    }
};

template<typename T = void>
class Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Failure failure) : m_failure(std::move(failure)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only after ok(): asking a failure for its value throws rather than
    // reading what is not there.
    const T &value() const { return m_value.value(); }
    T &value() { return m_value.value(); }
    // Only after a failure.
    QString error() const { return m_failure.text(); }
    FailureKind kind() const { return m_failure.kind; }
    const Failure &failure() const { return m_failure; }

private:
    std::optional<T> m_value;
    Failure m_failure;
};

template<>
class Result<void> {
public:
    Result() = default;   // success
    Result(Failure failure) : m_failed(true), m_failure(std::move(failure)) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    QString error() const { return m_failure.text(); }
    FailureKind kind() const { return m_failure.kind; }
    const Failure &failure() const { return m_failure; }

private:
    bool m_failed = false;
    Failure m_failure;
};
