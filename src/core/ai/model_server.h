#pragma once
// The language model is a server on this machine that speaks the OpenAI-compatible chat API
// (llama.cpp's server, Ollama, LM Studio…). One request per question; every request has a
// time-out, and anything but a well-formed answer counts as no answer.
//
// The exchanges here block their thread: call them from a worker, never from the window's
// thread (ai_name.h offers the asynchronous forms).
#include "ai/ai_availability.h"

#include <QByteArray>
#include <QString>
#include <optional>

class Settings;

struct ModelServerConfig {
    bool enabled = true;
    QString address = QStringLiteral("http://127.0.0.1:8080");
    QString model;            // empty: the first model the server lists
    QString confirmedRemote;  // a non-local address the user agreed to send file contents to
    int probeTimeoutMs = 3000;
    int requestTimeoutMs = 120000;

    static ModelServerConfig load(const Settings& settings);
    void save(Settings& settings) const;

    // The address as a URL, or nothing when it is not an http(s) URL with a host.
    std::optional<QString> baseUrl() const;
    // A file's content may be sent there: the host is this machine, or the user confirmed it.
    bool addressAllowed() const;
    static bool isLocalAddress(const QString& address);

    bool operator==(const ModelServerConfig&) const = default;
};

namespace ModelServer {

// Asks the server afresh (GET /v1/models). Blocks for at most the probe time-out.
AIName::Availability probe(const ModelServerConfig& config);

// One chat request (POST /v1/chat/completions): the first choice's message, or nothing on any
// failure (no server, an error status, a time-out, a reply that is not the expected JSON).
std::optional<QString> chat(const ModelServerConfig& config, const QString& instructions, const QString& prompt);

// Ends every exchange in flight at once and refuses new ones (each then counts as no answer):
// the application is quitting and must not wait out a silent server's time-out.
void stopForQuit();

// The request body: the model (when named), the system and user messages, no sampling options.
QByteArray chatRequestBody(const QString& model, const QString& instructions, const QString& prompt);
// The first choice's message content, or nothing when the reply has none.
std::optional<QString> chatAnswer(const QByteArray& reply);
// The first model id a GET /v1/models reply lists, or nothing.
std::optional<QString> firstModel(const QByteArray& reply);

}  // namespace ModelServer
