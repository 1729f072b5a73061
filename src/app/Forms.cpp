#include "Forms.h"

#include "LargeWindow.h"
#include "WindowKit.h"

#include <QCoreApplication>
#include <QWidget>

// Window classes of the program, in creation order.
// (Each window's header is included here as the window joins the program.)
#include "TfrmGuida.h"

namespace {
Forms *running = nullptr;
} // namespace

template <typename T> T *Forms::make() {
    T *window = new T();
    m_created << window;
    return window;
}

Forms::Forms(const AppFolder &appFolder) : folder(appFolder) {
    Q_ASSERT(!running);
    running = this;
    applyProcessFormats();
    // The creation order is fixed: the login window first, so that it is the
    // program's main window. Dialog instances made here are never shown.
    frmGuida = make<TfrmGuida>();
}

void Forms::startUp() {
    if (auto *main = qobject_cast<LargeWindow *>(m_created.value(0)))
        main->present();
}

Forms::~Forms() {
    for (qsizetype i = m_created.size() - 1; i >= 0; --i)
        delete m_created[i];
    running = nullptr;
}

QWidget *Forms::window(const char *className) const {
    for (QWidget *w : m_created)
        if (qstrcmp(w->metaObject()->className(), className) == 0)
            return w;
    return nullptr;
}

Forms &forms() {
    Q_ASSERT(running);
    return *running;
}

void terminateProgram() {
    forms().terminated = true;
    for (QWidget *w : forms().created())
        w->hide();
    QCoreApplication::quit();
}
