#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringView>
#include <QXmlStreamAttributes>

/// Receives the events of an XmlParser, in document order. Every handler is optional.
class XmlParserDelegate {
public:
    using Attributes = QMap<QString, QString>;

    virtual ~XmlParserDelegate() = default;
    virtual void parserDidStartDocument() {}
    /// `name` is the qualified name as written ("soap:Envelope"); attributes by qualified name,
    /// namespace declarations included.
    virtual void parserDidStartElement(const QString& name, const Attributes& attributes) {
        (void)name;
        (void)attributes;
    }
    /// Text and CDATA, possibly in several pieces per element.
    virtual void parserFoundCharacters(const QString& text) { (void)text; }
    virtual void parserDidEndElement(const QString& name) { (void)name; }
    virtual void parserDidEndDocument() {}

    /// The same element and text events as the reader reports them, before any copy: by default
    /// each makes the texts (and the attribute map) and calls the handler above. A handler of
    /// long documents overrides these to copy only what it keeps; the views are valid during
    /// the call only.
    virtual void readerDidStartElement(QStringView name, const QXmlStreamAttributes& attributes);
    virtual void readerFoundCharacters(QStringView text);
    virtual void readerDidEndElement(QStringView name);
};

/// An event-driven XML parser over QXmlStreamReader. The declared encoding (windows-1251,
/// ISO-8859-1, UTF-8, ...) is honoured. No external entities or DTDs are loaded.
class XmlParser {
public:
    /// Bounds that no answer we read comes near: deeper documents and larger entity expansions
    /// are errors.
    static constexpr int kMaximumDepth = 256;
    static constexpr int kMaximumEntityExpansion = 4096;

    explicit XmlParser(QByteArray data) : data_(std::move(data)) {}

    /// Runs the whole document through `delegate`. False on a malformed, truncated or empty
    /// document or when a handler called `abortParsing`; `errorString` then says why. Events
    /// up to the error have been delivered.
    bool parse(XmlParserDelegate& delegate);
    /// Stops the running parse after the current event.
    void abortParsing() { aborted_ = true; }
    QString errorString() const { return error_; }
    qint64 lineNumber() const { return line_; }

private:
    QByteArray data_;
    QString error_;
    qint64 line_ = 0;
    bool aborted_ = false;
};
