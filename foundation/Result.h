#pragma once
#include <QString>

#include <optional>
#include <utility>

// What every operation that can fail gives back: its value, or a message in
// Chinese ready to show ("未能写入“a.pdf”：磁盘已满"). The windows and the
// command line decide how to show it.
//
//     Result<QByteArray> read(...) { ...; return Failure{QStringLiteral("…")}; ... return bytes; }
//     const Result<> written = write(...); if (!written) ui.message(title, written.error(), …);

// A failure on its way into a Result of any type.
struct Failure {
    QString message;
};

template<typename T = void>
class Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Failure failure) : m_error(std::move(failure.message)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T &value() const { return *m_value; }
    T &value() { return *m_value; }
    const QString &error() const { return m_error; }

private:
    std::optional<T> m_value;
    QString m_error;
};

template<>
class Result<void> {
public:
    Result() = default;   // success
    Result(Failure failure) : m_failed(true), m_error(std::move(failure.message)) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const QString &error() const { return m_error; }

private:
    bool m_failed = false;
    QString m_error;
};
