// The ribbon definition reader (QXmlStreamReader); an unknown tag or a bad attribute value is an error,
// so that a mistyped line is found when the program starts, not when the button is missed.
#include "app/ribbon_definition.h"

#include <QFile>
#include <QXmlStreamReader>

namespace {

class Parser {
public:
    explicit Parser(const QByteArray& xml) : m_xml(xml) {}

    bool Run(HxRibbonDefinition& out, QString* error) {
        if (m_xml.readNextStartElement()) {
            if (m_xml.name() != QLatin1String("ribbon"))
                Fail(QStringLiteral("the root element must be <ribbon>"));
            else
                ParseRibbon(out);
        } else if (!m_xml.hasError()) {
            Fail(QStringLiteral("empty definition"));
        }
        if (m_xml.hasError()) {
            if (error)
                *error = QStringLiteral("ribbon definition, line %1, column %2: %3")
                             .arg(m_xml.lineNumber())
                             .arg(m_xml.columnNumber())
                             .arg(m_xml.errorString());
            return false;
        }
        return true;
    }

private:
    void Fail(const QString& what) {
        if (!m_xml.hasError())
            m_xml.raiseError(what);
    }

    QString Attr(const char* name) const { return m_xml.attributes().value(QLatin1String(name)).toString(); }
    bool Has(const char* name) const { return m_xml.attributes().hasAttribute(QLatin1String(name)); }
    CString Text(const char* name) const { return CString::FromQString(Attr(name)); }

    int Int(const char* name, int fallback) {
        if (!Has(name))
            return fallback;
        bool ok = false;
        int v = Attr(name).trimmed().toInt(&ok);
        if (!ok)
            Fail(QStringLiteral("attribute %1=\"%2\" is not a number").arg(QLatin1String(name), Attr(name)));
        return v;
    }

    UINT Id() {
        int id = Int("id", 0);
        if (id < 0 || id > 0xFFFF)
            Fail(QStringLiteral("command id %1 out of range").arg(id));
        return UINT(id);
    }

    bool Flag(const char* name) {
        QString v = Attr(name);
        if (v.isEmpty() || v == QLatin1String("0") || v == QLatin1String("false"))
            return false;
        if (v == QLatin1String("1") || v == QLatin1String("true"))
            return true;
        Fail(QStringLiteral("attribute %1 must be 0 or 1").arg(QLatin1String(name)));
        return false;
    }

    // The attributes every element may have.
    void Common(HxRibbonBaseElement* e) {
        if (Has("tip"))
            e->SetToolTipText(Text("tip"));
        if (Has("desc"))
            e->SetDescription(Text("desc"));
        if (Has("icon"))
            e->SetIconName(Attr("icon"));
        if (Has("image")) {
            int image = Int("image", -1);
            e->SetImageIndex(image, FALSE);
            e->SetImageIndex(image, TRUE);
        }
        QString size = Attr("size");
        if (size == QLatin1String("large"))
            e->SetLarge(true);
        else if (size.isEmpty() || size == QLatin1String("small"))
            e->SetLarge(false);
        else
            Fail(QStringLiteral("size must be large or small"));
        if (Has("visible"))
            e->SetVisible(Flag("visible"));
    }

    void SubItems(HxRibbonButton* button) {
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == QLatin1String("item")) {
                auto* gallery = dynamic_cast<HxRibbonGallery*>(button);
                if (!gallery) {
                    Fail(QStringLiteral("<item> belongs in a <gallery>"));
                    return;
                }
                HxRibbonGallery::Item item;
                item.id = Id();
                item.text = Text("text");
                item.icon = Attr("icon");
                item.image = Int("image", -1);
                gallery->AddItem(item);
                m_xml.skipCurrentElement();
                continue;
            }
            std::unique_ptr<HxRibbonBaseElement> child = Element();
            if (!child)
                return;
            button->AddSubItem(child.release());
        }
    }

    std::unique_ptr<HxRibbonBaseElement> Element() {
        const auto tag = m_xml.name();
        std::unique_ptr<HxRibbonBaseElement> e;
        if (tag == QLatin1String("button")) {
            auto b = std::make_unique<HxRibbonButton>(Id(), Text("text"));
            if (Flag("menu"))
                b->SetDefaultCommand(false);
            Common(b.get());
            SubItems(b.get());
            e = std::move(b);
        } else if (tag == QLatin1String("gallery")) {
            auto g = std::make_unique<HxRibbonGallery>(Id(), Text("text"));
            g->SetIconsInRow(Int("columns", 4));
            Common(g.get());
            SubItems(g.get());
            e = std::move(g);
        } else if (tag == QLatin1String("colors")) {
            auto c = std::make_unique<HxRibbonColorButton>(Id(), Text("text"));
            c->SetColumns(Int("columns", 8));
            Common(c.get());
            SubItems(c.get());
            e = std::move(c);
        } else if (tag == QLatin1String("group")) {
            auto g = std::make_unique<HxRibbonButtonsGroup>(Id());
            g->SetText(Text("text"));
            Common(g.get());
            SubItems(g.get());
            e = std::move(g);
        } else if (tag == QLatin1String("label")) {
            e = std::make_unique<HxRibbonLabel>(Text("text"));
            Common(e.get());
            m_xml.skipCurrentElement();
        } else if (tag == QLatin1String("check")) {
            e = std::make_unique<HxRibbonCheckBox>(Id(), Text("text"));
            Common(e.get());
            m_xml.skipCurrentElement();
        } else if (tag == QLatin1String("separator")) {
            e = std::make_unique<HxRibbonSeparator>();
            m_xml.skipCurrentElement();
        } else if (tag == QLatin1String("slider")) {
            auto s = std::make_unique<HxRibbonSlider>(Id(), Int("width", 100));
            s->SetText(Text("text"));
            s->SetRange(Int("min", 0), Int("max", 100));
            s->SetPos(Int("pos", 0));
            Common(s.get());
            m_xml.skipCurrentElement();
            e = std::move(s);
        } else if (tag == QLatin1String("link")) {
            e = std::make_unique<HxRibbonLinkCtrl>(Id(), Text("text"), Text("url"));
            Common(e.get());
            m_xml.skipCurrentElement();
        } else if (tag == QLatin1String("pane")) {
            e = std::make_unique<HxRibbonStatusBarPane>(Id(), Text("text"), Text("label"));
            Common(e.get());
            m_xml.skipCurrentElement();
        } else {
            Fail(QStringLiteral("unknown element <%1>").arg(tag.toString()));
            return nullptr;
        }
        if (m_xml.hasError())
            return nullptr;
        return e;
    }

    void ParseRibbon(HxRibbonDefinition& out) {
        while (m_xml.readNextStartElement()) {
            const auto tag = m_xml.name();
            if (tag == QLatin1String("images")) {
                while (m_xml.readNextStartElement()) {
                    if (m_xml.name() != QLatin1String("image") || !Has("index") || !Has("icon")) {
                        Fail(QStringLiteral("<images> holds <image index=\"..\" icon=\"..\"/> lines"));
                        return;
                    }
                    out.images[Int("index", -1)] = Attr("icon");
                    m_xml.skipCurrentElement();
                }
            } else if (tag == QLatin1String("application")) {
                out.application = std::make_unique<HxRibbonButton>(0, Text("text"));
                out.application->SetDefaultCommand(false);
                Common(out.application.get());
                SubItems(out.application.get());
            } else if (tag == QLatin1String("category")) {
                HxRibbonDefinition::Category category;
                category.name = Text("text");
                while (m_xml.readNextStartElement()) {
                    if (m_xml.name() != QLatin1String("panel")) {
                        Fail(QStringLiteral("a <category> holds <panel> elements"));
                        return;
                    }
                    HxRibbonDefinition::Panel panel;
                    panel.name = Text("text");
                    panel.icon = Attr("icon");
                    while (m_xml.readNextStartElement()) {
                        std::unique_ptr<HxRibbonBaseElement> e = Element();
                        if (!e)
                            return;
                        panel.elements.push_back(std::move(e));
                    }
                    category.panels.push_back(std::move(panel));
                }
                out.categories.push_back(std::move(category));
            } else if (tag == QLatin1String("statusbar")) {
                while (m_xml.readNextStartElement()) {
                    bool extended = Flag("extended");
                    std::unique_ptr<HxRibbonBaseElement> e = Element();
                    if (!e)
                        return;
                    out.statusBar.push_back({std::move(e), extended});
                }
            } else {
                Fail(QStringLiteral("unknown element <%1>").arg(tag.toString()));
            }
            if (m_xml.hasError())
                return;
        }
    }

    QXmlStreamReader m_xml;
};

} // namespace

bool HxParseRibbonDefinition(const QByteArray& xml, HxRibbonDefinition& out, QString* error) {
    HxRibbonDefinition parsed;
    if (!Parser(xml).Run(parsed, error))
        return false;
    out = std::move(parsed);
    return true;
}

bool HxLoadRibbonDefinition(const QString& path, HxRibbonDefinition& out, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read the ribbon definition %1").arg(path);
        return false;
    }
    return HxParseRibbonDefinition(file.readAll(), out, error);
}
