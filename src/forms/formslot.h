// SPDX-License-Identifier: MIT
#pragma once
// A form that exists at most once. The first use creates it hidden and runs its
// load handler before the caller gets it; closing it runs its unload handler,
// the slot forgets it at once and the widget is deleted by the event loop, so
// the next use builds a fresh one from its design-time values.

#include "forms/form.h"

#include <QPointer>

#include <functional>

namespace forms {

template<class F>
class FormSlot
{
public:
    explicit FormSlot(std::function<F *()> factory)
        : factory_(std::move(factory))
    {
    }
    FormSlot(const FormSlot &) = delete;
    FormSlot &operator=(const FormSlot &) = delete;
    ~FormSlot() { destroy(); }

    F &get()
    {
        if (!form_) {
            F *form = factory_();
            form_ = form;
            form->setUnloadedCallback([this, form] {
                if (form_ == form)
                    form_ = nullptr;
                form->deleteLater();
            });
            // The form is reachable through the slot while its load handler
            // runs, so a handler that refers back to it finds this instance.
            form->Form_Load();
            return *form; // still alive even if its load handler closed it
        }
        return *form_;
    }

    bool isLoaded() const { return !form_.isNull(); }
    F *peek() const { return form_.data(); }

    // Closes the form as its close box would: the unload handler runs.
    void unload()
    {
        if (form_)
            form_->Unload();
    }

    // Drops the form without running its unload handler (program end).
    void destroy()
    {
        if (form_) {
            F *form = form_;
            form_ = nullptr;
            form->setUnloadedCallback(nullptr);
            delete form;
        }
    }

private:
    std::function<F *()> factory_;
    QPointer<F> form_;
};

} // namespace forms
