#pragma once
// Stands in for the desktop's default handlers of links.

#include <QList>
#include <QObject>
#include <QUrl>

namespace zovlt::test {

class UrlRecorder : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> urls;

  public slots:
    void Open(const QUrl& url) { urls.append(url); }
};

}  // namespace zovlt::test
