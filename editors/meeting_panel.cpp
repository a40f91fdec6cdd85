// Built once from the meeting the editor opened on: the answers shown are those stored, and a
// button press hands its answer to the editor, which saves it through the change path.
#include "editors/meeting_panel.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QUrl>
#include <QVBoxLayout>

#include "editors/editor_controls.h"
#include "ical/meeting_reply.h"
#include "res/string_table.h"

QString MeetingLinksHtml(const ical::Meeting& meeting)
{
    QStringList links;
    for (const std::wstring& link : ical::MeetingLinks(meeting)) {
        const QString text = ToQString(link).toHtmlEscaped();
        links << (ical::OpensInBrowser(link) ? QStringLiteral("<a href=\"%1\">%1</a>").arg(text)
                                             : text);
    }
    return links.join(QStringLiteral("<br>"));
}

MeetingPanel::MeetingPanel(const ical::Meeting& meeting, bool invited,
                           const std::function<void(const std::string& partstat)>& answer,
                           std::function<void(const QUrl&)> openLink, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    QStringList lines;
    for (const std::wstring& line : ical::MeetingLines(meeting)) {
        lines << ToQString(line);
    }
    auto* people = Named(new QLabel(lines.join(u'\n')), kMeetingPeople);
    people->setTextFormat(Qt::PlainText);
    people->setTextInteractionFlags(Qt::TextSelectableByMouse);
    people->setWordWrap(true);
    layout->addWidget(people);

    auto* links = Named(new QLabel(MeetingLinksHtml(meeting)), kMeetingLinks);
    links->setTextFormat(Qt::RichText);
    links->setOpenExternalLinks(false);
    links->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    links->setVisible(!links->text().isEmpty());
    connect(links, &QLabel::linkActivated, this, [open = std::move(openLink)](const QString& link) {
        const QUrl url(link);
        if (!ical::OpensInBrowser(link.toStdWString())) {
            return;
        }
        if (open) {
            open(url);
        } else {
            QDesktopServices::openUrl(url);
        }
    });
    layout->addWidget(links);

    if (!invited) {
        return;
    }
    auto* buttons = new QHBoxLayout;
    const struct {
        int id;
        int text;
        const char* partstat;
    } kAnswers[] = {{kMeetingAccept, res::IDS_MEETING_ACCEPT, ical::kAccepted},
                    {kMeetingTentative, res::IDS_MEETING_ANSWER_TENTATIVE, ical::kTentative},
                    {kMeetingDecline, res::IDS_MEETING_DECLINE, ical::kDeclined}};
    for (const auto& each : kAnswers) {
        QPushButton* button = NewPushButton(each.id, ToQString(res::LoadString(each.text)));
        connect(button, &QPushButton::clicked, this,
                [answer, partstat = std::string(each.partstat)] { answer(partstat); });
        buttons->addWidget(button);
    }
    buttons->addStretch();
    layout->addLayout(buttons);
}
