// A keychain job that answers after the wait is kept alive until it answers, then goes.
#include <QPointer>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include "platform/secret_store.h"

namespace {

// A keychain job's shape: it reports once through `finished` after `answerMs`, from its own timer.
class SlowJob : public QObject {
    Q_OBJECT
public:
    explicit SlowJob(int answerMs) : answerLater_(new QTimer(this))
    {
        answerLater_->setSingleShot(true);
        answerLater_->setInterval(answerMs);
        connect(answerLater_, &QTimer::timeout, this, [this] { emit finished(this); });
    }
    void start() { answerLater_->start(); }

signals:
    // moc writes the definition with parameter names of its own.
    // NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
    void finished(SlowJob* job);

private:
    QTimer* answerLater_;
};

TEST(SecretStoreWait, AJobIsNeverDestroyedBeforeItAnswers)
{
    int reads = 0;
    const std::function<void(SlowJob&)> read = [&reads](SlowJob&) { ++reads; };
    QPointer<SlowJob> quick = new SlowJob(0);
    EXPECT_TRUE(platform::WaitForAnswer(quick.data(), 5000, read));
    EXPECT_EQ(reads, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return quick.isNull(); }, 2000));
    // Past the wait the caller goes on; the job answers later to nobody, then deletes itself.
    QPointer<SlowJob> late = new SlowJob(200);
    EXPECT_FALSE(platform::WaitForAnswer(late.data(), 10, read));
    EXPECT_FALSE(late.isNull());
    EXPECT_TRUE(QTest::qWaitFor([&] { return late.isNull(); }, 5000));
    EXPECT_EQ(reads, 1);
    // Asked from a worker thread that ends before the answer: the main thread takes the job.
    QPointer<SlowJob> fromWorker;
    bool answered = true;
    QThread* worker = QThread::create([&] {
        fromWorker = new SlowJob(200);
        answered = platform::WaitForAnswer(fromWorker.data(), 10, read);
    });
    worker->start();
    ASSERT_TRUE(worker->wait(5000));
    delete worker;
    EXPECT_FALSE(answered);
    ASSERT_FALSE(fromWorker.isNull());
    EXPECT_EQ(fromWorker->thread(), QThread::currentThread());
    EXPECT_TRUE(QTest::qWaitFor([&] { return fromWorker.isNull(); }, 5000));
    EXPECT_EQ(reads, 1);
}

} // namespace

#include "test_secret_store.moc"
