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

// How a failure is shown, when it is not the caller's usual way.
enum class FailureWeight { Usual, Warning, Critical };

// A failure on its way into a Result of any type; `title` is for the
// message box when it is not the caller's usual one.
struct Failure {
    QString message;
    QString title = QString();
    FailureWeight weight = FailureWeight::Usual;
};

template<typename T = void>
class Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Failure failure)
        : m_error(std::move(failure.message)), m_title(std::move(failure.title)), m_weight(failure.weight) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only after ok(): asking a failure for its value throws rather than
    // reading what is not there.
    const T &value() const { return m_value.value(); }
    T &value() { return m_value.value(); }
    const QString &error() const { return m_error; }
    // The title for the message box, or `usual` when the failure names none.
    QString title(const QString &usual) const { return m_title.isEmpty() ? usual : m_title; }
    FailureWeight weight() const { return m_weight; }

private:
    std::optional<T> m_value;
    QString m_error;
    QString m_title;
    FailureWeight m_weight = FailureWeight::Usual;
};

template<>
class Result<void> {
public:
    Result() = default;   // success
    Result(Failure failure)
        : m_failed(true), m_error(std::move(failure.message)), m_title(std::move(failure.title)),
          m_weight(failure.weight) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const QString &error() const { return m_error; }
    QString title(const QString &usual) const { return m_title.isEmpty() ? usual : m_title; }
    FailureWeight weight() const { return m_weight; }

private:
    bool m_failed = false;
    QString m_error;
    QString m_title;
    FailureWeight m_weight = FailureWeight::Usual;
};
