' A late-bound script client: create the control by ProgID, set Caption, read it back.
Set link = CreateObject("JumpletControl.Jumplet")
link.Caption = "Retrieve Image Information"
If link.Caption = "Retrieve Image Information" Then
    WScript.Echo "caption round trip ok"
Else
    WScript.Echo "caption came back as [" & link.Caption & "]"
    WScript.Quit 1
End If
