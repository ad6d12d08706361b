// The modal boxes: the error box (device not found, transfer failed, and the
// browser's obstacles) and the about box. Each takes the keyboard when it
// opens and gives it back when it closes.

export class Boxes
{
    constructor(document, texts, giveFocusBack)
    {
        this.document = document;
        this.giveFocusBack = giveFocusBack;
        this.error = document.getElementById('error-box');
        this.about = document.getElementById('about-box');
        document.getElementById('error-title').textContent = texts.window.errorTitle;
        const ok = document.getElementById('error-ok');
        ok.textContent = texts.window.ok;
        ok.addEventListener('click', () => this.error.close());
        document.getElementById('about-title').textContent = texts.about.title;
        document.getElementById('about-close').addEventListener('click', () => this.about.close());
        this.about.querySelectorAll('.about-line').forEach((line, i) => { line.textContent = texts.about.lines[i]; });
    }

    /** True while a box is open. */
    isOpen()
    {
        return this.error.open || this.about.open;
    }

    /** Shows the error box with this message; resolves once the user has closed it. */
    showError(message)
    {
        this.document.getElementById('error-message').textContent = message;
        return this.run(this.error, this.document.getElementById('error-ok'));
    }

    /** Shows the about box; resolves once the user has closed it. */
    showAbout()
    {
        return this.run(this.about, this.document.getElementById('about-close'));
    }

    run(dialog, firstFocus)
    {
        if (this.isOpen())
            return Promise.resolve();
        const previous = this.document.activeElement;
        dialog.showModal();
        firstFocus.focus();
        return new Promise((resolve) =>
        {
            dialog.addEventListener('close', () =>
            {
                this.giveFocusBack(previous);
                resolve();
            }, { once: true });
        });
    }
}
